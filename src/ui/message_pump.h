#ifndef MOYAN_UI_MESSAGE_PUMP_H_
#define MOYAN_UI_MESSAGE_PUMP_H_

// A handler that runs long (a listing, a local search, an import) lets other events be
// handled while it works by calling this now and then.
class MessagePump {
 public:
  // Lets the window's thread handle the messages waiting in its queue, until none is
  // waiting or the next one is the request to quit. Does nothing on another thread.
  virtual void run_pending_messages() = 0;

 protected:
  ~MessagePump() = default;
};

#endif  // MOYAN_UI_MESSAGE_PUMP_H_
