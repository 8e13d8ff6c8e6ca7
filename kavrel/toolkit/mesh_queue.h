// Mesh work handed on. The plug-in's calls that change one object's mesh
// (welding, smoothing, merging) need no answer from it, so the work runs on
// a thread of its own, in the order of the calls, while the plug-in's
// thread goes on with the next shape (Coin3D's traversal, the next
// object's buffer, surfaces and instances). Whatever may read or change a
// mesh otherwise settles the queue first: it returns once all the work
// handed on has run, so it finds every mesh as if each call had done its
// own work. The work only ever touches the mesh it was handed; the objects
// table keeps its meshes in place while it grows (scene.h).
#ifndef KAVREL_TOOLKIT_MESH_QUEUE_H
#define KAVREL_TOOLKIT_MESH_QUEUE_H

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace kavrel {

class MeshQueue {
 public:
  MeshQueue() = default;
  ~MeshQueue();  // waits for the work handed on, dropping a failure
  MeshQueue(const MeshQueue &) = delete;
  MeshQueue &operator=(const MeshQueue &) = delete;

  // Runs work after the work handed on before it: on the queue's thread,
  // or at once on the caller's where one thread is all there is
  // (KAVREL_THREADS=1) or none can be started.
  void Post(std::function<void()> work);
  // Returns once all work handed on has run; then throws the first
  // exception any of it threw since the last Settle (the work after it
  // still ran). Called by the thread that posts.
  void Settle();

 private:
  void Serve();
  static std::exception_ptr RunAll(std::deque<std::function<void()>> &batch);

  std::mutex mutex_;
  std::condition_variable wake_;               // work arrived, or the end
  std::condition_variable idle_;               // the last work handed on has run
  std::deque<std::function<void()>> work_;
  bool busy_ = false;                          // the queue's thread is running work
  bool sleeping_ = false;                      // the queue's thread waits for work
  bool settling_ = false;                      // the posting thread waits in Settle
  bool ending_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
  bool started_ = false;                       // thread_ was tried
  bool posted_ = false;                        // work handed on since the last Settle (the poster's view)
};

}  // namespace kavrel

#endif
