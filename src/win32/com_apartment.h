#ifndef MOYAN_WIN32_COM_APARTMENT_H_
#define MOYAN_WIN32_COM_APARTMENT_H_

// COM on the calling thread for the life of one object: CoInitialize when made and, only
// when that succeeded (also when COM was already set up on the thread, which counts a
// reference), CoUninitialize when gone.
namespace win32 {

class ComApartment {
 public:
  ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment();

  // False when COM could not be set up here (for example a thread of another model).
  bool ok() const { return initialised_; }

 private:
  bool initialised_ = false;
};

}  // namespace win32

#endif  // MOYAN_WIN32_COM_APARTMENT_H_
