#include "decompile/compiled_files_reader.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"
#include "model/file_names.hpp"

namespace scenario {

namespace {

namespace fs = std::filesystem;

bool ends_with_ascii(std::string_view s, std::string_view end) {
    if (s.size() < end.size()) {
        return false;
    }
    return std::equal(end.begin(), end.end(), s.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) {
                          const auto lower = [](char c) {
                              return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
                          };
                          return lower(a) == lower(b);
                      });
}

constexpr std::string_view plan_ending = "_linea.dat";
constexpr std::string_view header_ending = ".sim";
constexpr std::string_view grid_ending = ".dat";

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/' || folder.back() == path_separator) {
        return folder + name;
    }
    return folder + path_separator + name;
}

std::string names_of(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) {
        out += (out.empty() ? "\"" : ", \"") + n + "\"";
    }
    return out;
}

// The regular files of a folder whose names end so, sorted.
std::vector<std::string> files_ending(const std::string& folder, std::string_view ending,
                                      std::string_view but_not = {}) {
    std::vector<std::string> found;
    std::error_code error;
    fs::directory_iterator it(fs::path(folder), error);
    if (error) {
        throw file_error(folder, error.message(),
                         "cannot read the folder \"" + folder + "\": " + error.message());
    }
    for (const fs::directory_entry& entry : it) {
        std::error_code ignored;
        if (!entry.is_regular_file(ignored)) {
            continue;
        }
        const std::string name = entry.path().filename().string();
        if (ends_with_ascii(name, ending) && (but_not.empty() || !ends_with_ascii(name, but_not))) {
            found.push_back(name);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

compiled_file_paths in_folder(const std::string& folder) {
    const std::vector<std::string> headers = files_ending(folder, header_ending);
    if (headers.empty()) {
        throw paths_error("no header file (NAME_TRAIN.sim) in \"" + folder + "\"");
    }
    if (headers.size() > 1) {
        throw paths_error("several header files in \"" + folder + "\" (" + names_of(headers) +
                          "): name the files of one scenario");
    }
    const std::string& header = headers.front();
    const std::string grid = header.substr(0, header.size() - header_ending.size()) + ".dat";
    if (!is_regular_file(joined(folder, grid))) {
        throw paths_error("no grid file \"" + grid + "\" beside \"" + header + "\" in \"" +
                          folder + "\"");
    }
    compiled_file_paths paths;
    paths.header = joined(folder, header);
    paths.grid = joined(folder, grid);
    paths.folder = folder;
    return paths;
}

}  // namespace

compiled_file_paths locate_compiled_files(const std::vector<std::string>& paths) {
    if (paths.size() == 1) {
        std::error_code error;
        if (fs::is_directory(fs::path(paths.front()), error)) {
            return in_folder(paths.front());
        }
    }
    compiled_file_paths found;
    const auto take = [](std::string& slot, const std::string& path, const char* what) {
        if (!slot.empty()) {
            throw paths_error(std::string("two ") + what + ": \"" + slot + "\" and \"" + path +
                              "\"");
        }
        slot = path;
    };
    std::string plan;
    for (const std::string& p : paths) {
        std::error_code error;
        if (fs::is_directory(fs::path(p), error)) {
            throw paths_error("\"" + p + "\" is a folder: give one folder alone, or the files");
        }
        const std::string_view name = file_name_of(p);
        if (ends_with_ascii(name, plan_ending)) {
            take(plan, p, "line plan files");
        } else if (ends_with_ascii(name, header_ending)) {
            take(found.header, p, "header files");
        } else if (ends_with_ascii(name, grid_ending)) {
            take(found.grid, p, "grid files");
        } else if (!path_exists(p)) {
            throw file_error(p, "no such file or folder",
                             "cannot read \"" + p + "\": no such file or folder");
        } else {
            throw paths_error("cannot tell what \"" + p +
                              "\" is from its name: a header file ends in \".sim\", a line "
                              "plan file in \"_linea.dat\", a grid file in \".dat\"");
        }
    }
    if (found.header.empty()) {
        throw paths_error("no header file (NAME_TRAIN.sim) among the files");
    }
    if (found.grid.empty()) {
        throw paths_error("no grid file (NAME_TRAIN.dat) among the files");
    }
    if (!plan.empty()) {
        found.plan = plan;
    }
    return found;
}

undecodable_file::undecodable_file(const std::string& path, file_format format,
                                   std::uint64_t offset, const std::string& reason)
    : file_error(path, reason,
                 path + ": cannot decode the " + file_title(format) + " at byte offset " +
                     std::to_string(offset) + ": " + reason),
      format_(format),
      offset_(offset) {}

read_files read_compiled_files(compiled_file_paths paths) {
    read_files out;
    compiled_files& files = out.files;
    try {
        struct table_visitor final : header_visitor {
            tabella_voci& voci;
            explicit table_visitor(tabella_voci& to) : voci(to) {}
            void entry(int k, const voce& v) override { voci[static_cast<std::size_t>(k)] = v; }
        } table(files.voci);
        file_source source(paths.header);
        stream_header(source, table);
    } catch (const decode_error& e) {
        throw undecodable_file(paths.header, file_format::header, e.offset(), e.what());
    }
    try {
        file_source source(paths.grid);
        struct grid_builder final : grid_visitor {
            griglia& celle;
            std::size_t most;  // the cells the file's bytes can hold
            grid_builder(griglia& to, std::size_t cells) : celle(to), most(cells) {}
            void start(std::int32_t cells) override {
                celle.reserve(std::min(static_cast<std::size_t>(std::max(cells, 0)), most));
            }
            void cell(std::int32_t, const cella& c) override { celle.push_back(c); }
        } grid(files.celle, static_cast<std::size_t>(source.size() / cell_bytes));
        stream_grid(source, grid);
    } catch (const decode_error& e) {
        throw undecodable_file(paths.grid, file_format::grid, e.offset(), e.what());
    }
    if (paths.folder && !paths.plan) {
        // The plan file of the scenario the header names, else the one plan file there.
        const std::string named =
            joined(*paths.folder, nome_file_tracciato(files.voci[voce_scenario].nome));
        if (!files.voci[voce_scenario].nome.empty() && is_regular_file(named)) {
            paths.plan = named;
        } else {
            const std::vector<std::string> plans = files_ending(*paths.folder, plan_ending);
            if (plans.size() == 1) {
                paths.plan = joined(*paths.folder, plans.front());
            }
        }
    }
    files.file_names = {std::string(file_name_of(paths.header)),
                        std::string(file_name_of(paths.grid))};
    if (paths.plan) {
        auto source = std::make_unique<file_source>(*paths.plan);
        plan_analyser analyser;
        struct analysing final : plan_visitor {
            plan_analyser& a;
            explicit analysing(plan_analyser& to) : a(to) {}
            void start(std::int32_t metres) override { a.start(metres); }
            void point(std::int64_t m, valore_piano x, valore_piano y) override { a.point(m, x, y); }
        } visitor(analyser);
        try {
            if (!analyse_plan_file(*source, analyser)) {
                stream_plan(*source, visitor);
            }
        } catch (const decode_error& e) {
            throw undecodable_file(*paths.plan, file_format::plan, e.offset(), e.what());
        }
        files.plan = analyser.finish();
        files.plan_bytes = source.get();
        files.owned_plan_bytes = std::move(source);
        files.file_names.push_back(std::string(file_name_of(*paths.plan)));
    }
    out.paths = std::move(paths);
    return out;
}

}  // namespace scenario
