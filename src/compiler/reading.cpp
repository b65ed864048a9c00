#include "compiler/reading.hpp"

#include <algorithm>
#include <utility>

#include "compiler/grid_access.hpp"
#include "compiler/messages.hpp"
#include "model/file_names.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool contains(std::string_view field, std::string_view word) {
    const auto same = [](char a, char b) { return lower(a) == lower(b); };
    return std::search(field.begin(), field.end(), word.begin(), word.end(), same) != field.end();
}

reading::reading(run_state& s, document_store& d)
    : state(s),
      store(d),
      line_name(nome_documento_linea(s.nome_scenario)),
      train_name(nome_documento_treno(s.nome_scenario, s.nome_treno)) {}

void reading::open(const std::string& name, std::string content) {
    document = name;
    text = std::move(content);
    fields = field_reader(text);
    keyword = {};
    keyword_place = field_place{};
    entry_place.reset();
}

void reading::read_keyword() {
    keyword = fields.text("keyword");
    keyword_place = fields.last();
    entry_place.reset();
    state.riga.assign(keyword);
}

bool reading::next_keyword() {
    if (fields.at_end()) {
        return false;
    }
    read_keyword();
    if (fields.at_end()) {
        return false;
    }
    for (int remarks = 0; remarks < 2 && contains_exact(keyword, "-"); ++remarks) {
        read_keyword();
        if (fields.at_end()) {
            return false;
        }
    }
    return true;
}

outcome reading::act_on_keyword(std::span<const keyword_entry> table) {
    const auto passes = [&](const keyword_test& t) {
        if (t.plan_only && state.con_tracciato == 0) {
            return false;
        }
        const auto has = [&](std::string_view word) {
            return t.exact ? contains_exact(keyword, word) : contains(keyword, word);
        };
        return has(t.word) && (t.also.empty() || has(t.also));
    };
    for (const keyword_entry& k : table) {
        if (passes(k.test)) {
            if (const outcome o = k.read(*this); o != outcome::go_on) {
                return o;
            }
        }
    }
    return outcome::go_on;
}

outcome reading::read_entries(std::span<const keyword_entry> table) {
    while (next_keyword()) {
        const outcome o = act_on_keyword(table);
        if (o == outcome::end_reading) {
            return o;
        }
        if (o == outcome::end_loop) {
            break;
        }
    }
    return outcome::go_on;
}

std::int32_t reading::chainage(const char* name) {
    const auto p = fields.number<std::int32_t>(name);
    entry_place = fields.last();
    return p;
}

cella& reading::cell(std::int64_t i) {
    return cell_at(state.celle, i);
}

voce& reading::entry(std::int64_t i) {
    if (i < 0 || i >= numero_voci) {
        throw reader_failure("header entry " + std::to_string(i) +
                             " is outside the table (0 to 86)");
    }
    return state.voci[static_cast<std::size_t>(i)];
}

bool reading::beyond_grid(std::int64_t p, std::int64_t margin) {
    // (p + margin) / 50 > N, exactly.
    if (p + margin <= 50 * last_cell(state.celle)) {
        return false;
    }
    record(15, static_cast<std::int32_t>(p), entry_place.value_or(keyword_place));
    return true;
}

error_place reading::place_of(const field_place& place) const {
    return error_place{document, place.line, place.column, place.end_column,
                       std::string(fields.line_of(place))};
}

void reading::record(std::int32_t number, std::optional<std::int32_t> position,
                     const field_place& place) {
    record_error(state, number, position, place_of(place), error_message(number));
}

outcome reading::end_with(std::int32_t number, std::optional<std::int32_t> position,
                          const field_place& place) {
    close_and_delete();
    record(number, position, place);
    return outcome::end_reading;
}

error_place reading::failure_place() const {
    if (fields.failed() || !entry_place) {
        return place_of(fields.last());
    }
    return place_of(*entry_place);
}

}  // namespace scenario
