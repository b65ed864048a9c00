#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "files/byte_sink.hpp"

namespace scenario {

// Replaces a file whole or not at all. Bytes go to a temporary file in the same
// folder ("NAME.partial"); finish() closes it, commit() renames it over the final name.
// Until then, and whenever anything fails, the old file keeps its content and the
// temporary file is removed. An existing file without write permission, or anything
// but a file under the final name (a folder), is never replaced.
class atomic_file : public byte_sink {
  public:
    explicit atomic_file(std::string path);
    ~atomic_file() override;
    atomic_file(const atomic_file&) = delete;
    atomic_file& operator=(const atomic_file&) = delete;

    void write(std::string_view bytes) override;
    void write_at(std::uint64_t offset, std::string_view bytes) override;
    // Closes the temporary file: every byte is written. commit() finishes first when it
    // has not been done.
    void finish();
    void commit();

    const std::string& path() const { return path_; }

  private:
    void fail(const std::string& reason);

    std::string path_;
    std::string temp_path_;
    std::FILE* file_ = nullptr;
    bool finished_ = false;
    bool committed_ = false;

    friend void commit_all(const std::vector<atomic_file*>& files);
};

// Replaces several files all together or not at all: each is finished, then each old
// file is set aside ("NAME.previous") as its new one takes its name; when a rename
// fails, the files already replaced get their old content back, and the failure is
// thrown. Nothing temporary is left behind either way.
void commit_all(const std::vector<atomic_file*>& files);

// Writes a whole file through atomic_file.
void replace_file(const std::string& path, std::string_view bytes);

}  // namespace scenario
