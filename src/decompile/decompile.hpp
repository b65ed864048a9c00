#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "decompile/authored_scenario.hpp"
#include "decompile/document_writer.hpp"
#include "decompile/plan_analysis.hpp"
#include "files/byte_reader.hpp"
#include "files/scenario_files.hpp"
#include "model/diagnostic.hpp"
#include "model/run_state.hpp"

namespace scenario {

// Bytes held in memory as a decoder's source: the plan an in-memory compile encoded,
// read as a plan file on disk is.
class memory_bytes final : public byte_source {
  public:
    explicit memory_bytes(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    void read_at(std::uint64_t offset, char* to, std::size_t n) override {
        std::memcpy(to, bytes_.data() + offset, n);
    }

  private:
    std::string_view bytes_;
};

// The compiled files a decompile starts from, decoded: the header table, the grid and,
// when there is a plan file, what its points say (plan_analysis) and its bytes, which
// the documents' own plan is compared with. The names are those of the files read, for
// the remark at the top of the documents.
struct compiled_files {
    tabella_voci voci{};
    griglia celle;
    std::optional<plan_analysis> plan;
    byte_source* plan_bytes = nullptr;  // set whenever plan is
    std::vector<std::string> file_names;
    std::unique_ptr<byte_source> owned_plan_bytes;  // where plan_bytes points, when owned
};

// A value of a file as a difference shows it: an integer, a double, a text (a header
// record's name, Windows-1252) or nothing (an empty plan coordinate, a cell or metre the
// file does not have).
using file_value = std::variant<std::monostate, std::int64_t, double, std::string>;

// One value (or run of plan metres) the documents do not give back: the file, the byte
// offset of the value in the file read, what it is ("cell 130, valore4", "record 85,
// orario", "metres 901 to 950"), what the file stores and what the documents give.
struct file_difference {
    file_format file;
    std::uint64_t offset = 0;
    std::string what;
    file_value stored;
    file_value given;
};

struct decompiled_scenario {
    authored_scenario authored;
    scenario_documents documents;
    // The check of the documents: compiled in memory, every value compared with the
    // files read. Empty when they give the files back byte for byte.
    std::vector<file_difference> differences;
    // The first plan metre no curve row draws, and how many such metres there are.
    std::optional<std::int64_t> first_unmatched_metre;
    std::int64_t unmatched_metres = 0;
    // What the compile of the documents records (its errors; empty when it records
    // none): a decompile that is not exact may write documents that do not compile
    // cleanly.
    std::vector<diagnostic> document_errors;

    bool exact() const { return differences.empty() && !first_unmatched_metre; }
};

// Decompiles: the documents (reconstruct.hpp, document_writer.hpp), then the check.
decompiled_scenario decompile(const compiled_files& files);

// The files a compiled state would write, for a decompile of them in memory (tests,
// fuzzing, diff): the arrays, the plan analysed and its bytes encoded into `plan_bytes`
// (which must outlive the result).
compiled_files files_of(const run_state& state, std::string& plan_bytes);

// A value as text: a number in decimal (a double in its shortest exact form), a name in
// quotes as UTF-8, "-" for nothing.
std::string value_text(const file_value& v);

// "header file", "grid file", "line plan file".
const char* file_title(file_format f);

}  // namespace scenario
