#ifndef MOYAN_SKIN_CALL_RECORD_H_
#define MOYAN_SKIN_CALL_RECORD_H_

// A test build of the library writes down every call of its entry point, so tests can
// check what a program passes: one line per call appended to the file named by the
// environment variable MOYAN_SKIN_CALL_LOG (nothing when it is not set):
//   address=null|set length=N text_address=null|set text=HEX reserved=A,B,C crc=HEX
// `text` is the bytes of the third argument in hexadecimal (empty for an empty text), `crc`
// the CRC-32 of the data (00000000 when there is none).
void record_call(const unsigned char* data, int length, const char* text, int reserved4,
                 int reserved5, int reserved6);

#endif  // MOYAN_SKIN_CALL_RECORD_H_
