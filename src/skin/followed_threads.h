#ifndef MOYAN_SKIN_FOLLOWED_THREADS_H_
#define MOYAN_SKIN_FOLLOWED_THREADS_H_

// The threads whose new windows the skin takes: once following has begun, every thread of
// this process has a hook that sees each window it creates before the window's first
// message. Only threads of this process are ever followed: a window of another program is
// never touched.

// Begins following (or goes on with it): the calling thread and every other thread of the
// process that is alive now; threads that start later follow themselves as they start.
// False when not even the calling thread could be followed.
bool follow_every_thread();

// From the library's thread notifications, on the thread that starts or ends.
void thread_started();
void thread_ending();

#endif  // MOYAN_SKIN_FOLLOWED_THREADS_H_
