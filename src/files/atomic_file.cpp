#include "files/atomic_file.hpp"

#include <cerrno>
#include <limits>

#include "files/file_error.hpp"
#include "files/file_ops.hpp"

namespace scenario {

atomic_file::atomic_file(std::string path) : path_(std::move(path)) {
    if (path_exists(path_) && !is_regular_file(path_)) {
        throw file_error(path_, "something other than a file (a folder?) has that name",
                         "cannot replace \"" + path_ +
                             "\": something other than a file (a folder?) has that name");
    }
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

void atomic_file::finish() {
    if (finished_) {
        return;
    }
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
    finished_ = true;
}

void atomic_file::commit() {
    finish();
    rename_over(temp_path_, path_);  // on failure the destructor removes the temporary file
    committed_ = true;
}

void commit_all(const std::vector<atomic_file*>& files) {
    for (atomic_file* f : files) {
        f->finish();
    }
    struct replaced {
        const atomic_file* file;
        bool had_previous;
    };
    std::vector<replaced> done;
    try {
        for (atomic_file* f : files) {
            const bool had_previous = path_exists(f->path_);
            if (had_previous) {
                rename_over(f->path_, f->path_ + ".previous");
            }
            done.push_back({f, had_previous});
            rename_over(f->temp_path_, f->path_);
            f->committed_ = true;
        }
    } catch (const file_error&) {
        // Back to the old files, the last replaced first.
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            const std::string& path = it->file->path_;
            if (it->file->committed_) {
                std::remove(path.c_str());
            }
            if (it->had_previous) {
                std::rename((path + ".previous").c_str(), path.c_str());
            }
        }
        for (atomic_file* f : files) {
            f->committed_ = false;  // the destructor removes what is left of it
        }
        throw;
    }
    for (const replaced& r : done) {
        if (r.had_previous) {
            std::remove((r.file->path_ + ".previous").c_str());
        }
    }
}

void replace_file(const std::string& path, std::string_view bytes) {
    atomic_file f(path);
    f.write(bytes);
    f.commit();
}

}  // namespace scenario
