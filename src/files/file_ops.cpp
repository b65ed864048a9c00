#include "files/file_ops.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/file_error.hpp"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace scenario {

namespace {

// Where the last component of a path begins (0 when it has one component).
std::size_t last_component(std::string_view path) {
    std::size_t at = path.size();
    while (at > 0 && !is_path_separator(path[at - 1])) {
        --at;
    }
    return at;
}

}  // namespace

std::string_view file_name_of(std::string_view path) {
    return path.substr(last_component(path));
}

std::string folder_of(std::string_view path) {
    const std::size_t at = last_component(path);
    return at == 0 ? std::string(".") : std::string(path.substr(0, at - 1));
}

std::string path_in(const std::string& folder, std::string_view name) {
    std::string path = folder;
    path += path_separator;
    path += name;
    return path;
}

bool is_regular_file(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFREG;
}

bool path_exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool is_read_only(const std::string& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
#else
    // Checked on the mode bits, not with access(): a user who took away every write
    // permission means it, even when the tool runs with rights that ignore them.
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
#endif
}

void rename_over(const std::string& from, const std::string& to) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return;
    }
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   GetLastError(), 0, text, sizeof text, nullptr);
    std::string reason(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) {
        reason.pop_back();
    }
    throw file_error(to, reason);
#else
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        throw file_error(to, last_error_text());
    }
#endif
}

std::string last_error_text() {
    return std::strerror(errno);
}

namespace {

[[noreturn]] void cannot_read(const std::string& path, const std::string& reason) {
    throw file_error(path, reason, "cannot read \"" + path + "\": " + reason);
}

// Fails unless path names a regular file; returns its size.
std::uint64_t regular_file_size(const std::string& path) {
    if (path.empty()) {
        throw file_error(path, "the name is empty", "cannot read a file with an empty name");
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        cannot_read(path, last_error_text());
    }
    if ((st.st_mode & S_IFMT) == S_IFDIR) {
        cannot_read(path, "it is a folder, not a file");
    }
    if ((st.st_mode & S_IFMT) != S_IFREG) {
        cannot_read(path, "it is not a regular file");
    }
    return static_cast<std::uint64_t>(st.st_size);
}

// Moves a file's position to a 64-bit offset from its start.
bool seek_to(std::FILE* f, std::uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(f, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace

std::string read_whole_file(const std::string& path, std::uint64_t limit) {
    const std::uint64_t size = regular_file_size(path);
    const std::string most = std::to_string(limit >> 20) + " MiB a file may have";
    if (size > limit) {
        cannot_read(path, "it is " + std::to_string(size) + " bytes long, more than the " + most);
    }
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        cannot_read(path, last_error_text());
    }
    // Read straight into a string of the size the file had: no copy, and no string
    // grown by doubling (each step would copy and touch the memory again).
    std::setvbuf(f, nullptr, _IONBF, 0);
    std::string content(static_cast<std::size_t>(size), '\0');
    content.resize(std::fread(content.data(), 1, content.size(), f));
    // The file may have changed after the size test: what it has beyond is read too, up
    // to one byte past the limit.
    if (content.size() == size) {
        char buffer[1 << 12];
        std::size_t got = 0;
        while (content.size() <= limit && (got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
            content.append(buffer, got);
        }
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        cannot_read(path, last_error_text());
    }
    if (content.size() > limit) {
        cannot_read(path, "it grew past the " + most + " while it was read");
    }
    return content;
}

file_source::file_source(const std::string& path) : path_(path) {
    size_ = regular_file_size(path);
    errno = 0;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        cannot_read(path, last_error_text());
    }
    // The readers buffer the bytes themselves.
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

file_source::~file_source() {
    std::fclose(file_);
}

void file_source::read_at(std::uint64_t offset, char* to, std::size_t n) {
    if (n == 0) {
        return;
    }
    if (offset != at_ && !seek_to(file_, offset)) {
        cannot_read(path_, last_error_text());
    }
    const std::size_t got = std::fread(to, 1, n, file_);
    at_ = offset + got;
    if (got != n) {
        if (std::ferror(file_) != 0) {
            cannot_read(path_, last_error_text());
        }
        cannot_read(path_, "it became shorter while it was read");
    }
}

}  // namespace scenario
