#include "files/atomic_file.hpp"

#include <cerrno>
#include <limits>

#include "files/file_error.hpp"
#include "files/file_ops.hpp"

namespace scenario {

atomic_file::atomic_file(std::string path) : path_(std::move(path)) {
    if (is_read_only(path_)) {
        throw file_error(path_, "the file is read-only",
                         "cannot replace \"" + path_ + "\": the file is read-only");
    }
    temp_path_ = path_ + ".partial";
    errno = 0;
    file_ = std::fopen(temp_path_.c_str(), "wb");
    if (file_ == nullptr) {
        throw file_error(path_, last_error_text());
    }
    // Encoders hand over large blocks; a stream buffer would only split and copy them.
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

atomic_file::~atomic_file() {
    if (!committed_) {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
        std::remove(temp_path_.c_str());
    }
}

void atomic_file::fail(const std::string& reason) {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    std::remove(temp_path_.c_str());
    throw file_error(path_, reason);
}

void atomic_file::write(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        fail(last_error_text());
    }
}

void atomic_file::write_at(std::uint64_t offset, std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    errno = 0;
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) {
        fail("the file would be larger than this system's stream offsets allow");
    }
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
        fail(last_error_text());
    }
    write(bytes);
}

void atomic_file::commit() {
    errno = 0;
    if (std::fflush(file_) != 0) {
        fail(last_error_text());
    }
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) {
        fail(last_error_text());
    }
    // The user may have made the file read-only while we were writing.
    if (is_read_only(path_)) {
        fail("the file is read-only");
    }
    rename_over(temp_path_, path_);  // on failure the destructor removes the temporary file
    committed_ = true;
}

void replace_file(const std::string& path, std::string_view bytes) {
    atomic_file f(path);
    f.write(bytes);
    f.commit();
}

}  // namespace scenario
