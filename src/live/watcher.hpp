#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <boost/asio/io_context.hpp>

namespace scenario::live {

// Follows files through every way an editor saves them: written in place, or written
// under another name and renamed over them; a file that disappears for a while is
// waited for. Lives as long as the watching should.
class document_watcher {
  public:
    virtual ~document_watcher() = default;
};

enum class watch_method {
    native,   // the system's notifications where there are some (inotify on Linux), else polling
    polling,  // the size and modification time of each file, looked at a few times a second
};

// Watches the files at these paths. `changed` runs on the io_context's thread once a
// burst of changes to any of them has settled for `settle`: many saves in a short time
// give few calls, the last after the last save.
std::unique_ptr<document_watcher> watch_documents(boost::asio::io_context& io,
                                                  const std::vector<std::string>& paths,
                                                  std::function<void()> changed,
                                                  std::chrono::milliseconds settle,
                                                  watch_method method = watch_method::native);

}  // namespace scenario::live
