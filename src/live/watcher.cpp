#include "live/watcher.hpp"

#include <array>
#include <cstring>
#include <filesystem>
#include <optional>

#include <boost/asio/steady_timer.hpp>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>

#include <boost/asio/posix/stream_descriptor.hpp>
#endif

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include "files/file_error.hpp"

namespace scenario::live {

namespace {

namespace asio = boost::asio;

// Calls `changed` once a burst of changes has settled: each change starts the wait again.
class settler {
  public:
    settler(asio::io_context& io, std::function<void()> changed, std::chrono::milliseconds settle)
        : timer_(io), changed_(std::move(changed)), settle_(settle) {}

    void touch() {
        timer_.expires_after(settle_);
        timer_.async_wait([this](const boost::system::error_code& ec) {
            if (!ec) {
                changed_();
            }
        });
    }

  private:
    asio::steady_timer timer_;
    std::function<void()> changed_;
    std::chrono::milliseconds settle_;
};

// What polling compares: a file's size and modification time, or nothing while it is
// missing. The time is taken at the file system's own resolution: a document saved
// twice within one second with the same size (a digit changed) must still be seen.
// Where the system tells a file's identity, that is compared too: an editor's atomic
// save renames a new file over the document, and the new file may have the old size
// and a time within the same tick of a coarse clock.
struct file_stamp {
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // in the platform's ticks
    std::uint64_t device = 0;
    std::uint64_t identity = 0;  // the inode where there is one
    bool operator==(const file_stamp&) const = default;
};

#ifdef _WIN32
// The C library's stat behind std::filesystem here keeps whole seconds only.
std::optional<file_stamp> stamp_of(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(std::filesystem::path(path).c_str(), GetFileExInfoStandard,
                              &data)) {
        return std::nullopt;
    }
    file_stamp s;
    s.size = (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    s.modified = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime);
    return s;
}
#else
std::optional<file_stamp> stamp_of(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    file_stamp s;
    s.size = static_cast<std::uintmax_t>(st.st_size);
    s.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                 static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.identity = static_cast<std::uint64_t>(st.st_ino);
    return s;
}
#endif

class polling_watcher : public document_watcher {
  public:
    polling_watcher(asio::io_context& io, const std::vector<std::string>& paths,
                    std::function<void()> changed, std::chrono::milliseconds settle)
        : paths_(paths),
          timer_(io),
          // The files are stamped again just before the compile reads them: a save that
          // came while the burst settled is in that compile and is no change after it.
          settler_(io,
                   [this, changed = std::move(changed)] {
                       take_stamps();
                       changed();
                   },
                   settle) {
        stamps_.resize(paths_.size());
        take_stamps();
        tick();
    }

  private:
    static constexpr std::chrono::milliseconds interval{50};

    void take_stamps() {
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            stamps_[i] = stamp_of(paths_[i]);
        }
    }

    void tick() {
        timer_.expires_after(interval);
        timer_.async_wait([this](const boost::system::error_code& ec) {
            if (ec) {
                return;
            }
            bool moved = false;
            for (std::size_t i = 0; i < paths_.size(); ++i) {
                std::optional<file_stamp> now = stamp_of(paths_[i]);
                if (now != stamps_[i]) {
                    stamps_[i] = now;
                    moved = true;
                }
            }
            if (moved) {
                settler_.touch();
            }
            tick();
        });
    }

    std::vector<std::string> paths_;
    std::vector<std::optional<file_stamp>> stamps_;
    asio::steady_timer timer_;
    settler settler_;
};

#ifdef __linux__
// Watches the folders holding the files, so that a file renamed over, or removed and
// made again, is followed by its name.
class inotify_watcher : public document_watcher {
  public:
    inotify_watcher(asio::io_context& io, const std::vector<std::string>& paths,
                    std::function<void()> changed, std::chrono::milliseconds settle)
        : stream_(io), settler_(io, std::move(changed), settle) {
        const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd < 0) {
            throw file_error(paths.empty() ? std::string() : paths.front(),
                             "cannot watch for changes",
                             "cannot watch the documents for changes");
        }
        stream_.assign(fd);
        for (const std::string& p : paths) {
            const std::filesystem::path path(p);
            std::filesystem::path folder = path.parent_path();
            if (folder.empty()) {
                folder = ".";
            }
            const int wd = inotify_add_watch(
                fd, folder.c_str(),
                IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                    IN_MOVED_TO);
            if (wd < 0) {
                throw file_error(folder.string(), "cannot watch the folder",
                                 "cannot watch the folder \"" + folder.string() +
                                     "\" for changes");
            }
            watched_.push_back({wd, path.filename().string()});
        }
        read();
    }

  private:
    struct watched_file {
        int folder;
        std::string name;
    };

    void read() {
        stream_.async_read_some(asio::buffer(buffer_), [this](const boost::system::error_code& ec,
                                                              std::size_t n) {
            if (ec) {
                return;
            }
            if (concerns_us(n)) {
                settler_.touch();
            }
            read();
        });
    }

    bool concerns_us(std::size_t n) const {
        bool ours = false;
        std::size_t at = 0;
        while (at + sizeof(inotify_event) <= n) {
            inotify_event event;
            std::memcpy(&event, buffer_.data() + at, sizeof event);
            const char* name_start = buffer_.data() + at + sizeof(inotify_event);
            const std::string name(name_start, ::strnlen(name_start, event.len));
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                ours = true;
            }
            for (const watched_file& w : watched_) {
                if (w.folder == event.wd && w.name == name) {
                    ours = true;
                }
            }
            at += sizeof(inotify_event) + event.len;
        }
        return ours;
    }

    asio::posix::stream_descriptor stream_;
    std::vector<watched_file> watched_;
    alignas(inotify_event) std::array<char, 16384> buffer_{};
    settler settler_;
};
#endif

}  // namespace

std::unique_ptr<document_watcher> watch_documents(asio::io_context& io,
                                                  const std::vector<std::string>& paths,
                                                  std::function<void()> changed,
                                                  std::chrono::milliseconds settle,
                                                  watch_method method) {
#ifdef __linux__
    if (method == watch_method::native) {
        return std::make_unique<inotify_watcher>(io, paths, std::move(changed), settle);
    }
#else
    (void)method;
#endif
    return std::make_unique<polling_watcher>(io, paths, std::move(changed), settle);
}

}  // namespace scenario::live
