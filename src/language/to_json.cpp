#include "language/to_json.hpp"

namespace scenario::language {

namespace {

using json = nlohmann::json;

json position_json(const text_position& p) {
    return {{"line", p.line}, {"character", p.character}};
}

json diagnostic_json(const editor_diagnostic& d) {
    json item = {{"range", to_json(d.range)},
                 {"severity", d.level == severity::error     ? 1
                              : d.level == severity::warning ? 2
                                                             : 3},
                 {"source", "scenario"},
                 {"message", d.message}};
    if (d.number != 0) {
        item["code"] = d.number;
    } else if (!d.name.empty()) {
        item["code"] = d.name;
    }
    if (!d.related.empty()) {
        json related = json::array();
        for (const related_place& r : d.related) {
            related.push_back({{"location", {{"uri", r.uri}, {"range", to_json(r.range)}}},
                               {"message", r.message}});
        }
        item["relatedInformation"] = std::move(related);
    }
    return item;
}

// Text of the documents or the compile set as Markdown shows it, not as formatting.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '*' || c == '_' || c == '`' || c == '<' || c == '[' || c == ']') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

std::string identity(std::string_view text) {
    return std::string(text);
}

// The one layout of a hover's text; Markdown stresses with "**" and escapes the text.
std::string hover_text(const hover_info& hover, std::string (*say)(std::string_view),
                       std::string_view stress) {
    const auto stressed = [&](const std::string& text) {
        return std::string(stress) + say(text) + std::string(stress);
    };
    // Built by appending: g++ 12 at -O3 warns (-Wrestrict) about "text" + a temporary.
    std::string s = stressed(hover.title);
    if (hover.summary.empty()) {
        s += "\n";
    } else {
        s.append(": ").append(say(hover.summary)).append("\n");
    }
    for (const hover_block& b : hover.blocks) {
        s.append("\n").append(say(b.heading)).append(b.items.empty() ? "\n" : ":\n");
        for (std::size_t i = 0; i < b.items.size(); ++i) {
            s += b.numbered ? std::to_string(i + 1) + ". " : std::string("- ");
            s += b.stressed == i ? stressed(b.items[i]) : say(b.items[i]);
            s += "\n";
        }
    }
    return s;
}

int symbol_kind(const outline_symbol& s) {
    if (s.section) {
        return 3;  // namespace
    }
    switch (s.kind) {
        case outline_kind::station:
            return 19;  // object
        case outline_kind::signal:
            return 24;  // event
        case outline_kind::slowdown:
            return 25;  // operator
        case outline_kind::tunnel:
            return 23;  // struct
        case outline_kind::board:
        case outline_kind::speed_board:
        case outline_kind::none:
            break;
    }
    return 15;  // string
}

json symbol_json(const outline_symbol& s) {
    json symbol = {{"name", s.name},
                   {"kind", symbol_kind(s)},
                   {"range", to_json(s.range)},
                   {"selectionRange", to_json(s.selection)}};
    if (!s.detail.empty()) {
        symbol["detail"] = s.detail;
    }
    if (s.section) {
        symbol["children"] = to_json(s.children);
    }
    return symbol;
}

// Text a snippet takes literally.
std::string snippet_text(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '$' || c == '}' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

}  // namespace

json to_json(const text_range& range) {
    return {{"start", position_json(range.start)}, {"end", position_json(range.end)}};
}

json to_json(const document_diagnostics& published) {
    json list = json::array();
    for (const editor_diagnostic& d : published.diagnostics) {
        list.push_back(diagnostic_json(d));
    }
    return {{"uri", published.uri}, {"diagnostics", std::move(list)}};
}

std::string hover_markdown(const hover_info& hover) {
    return hover_text(hover, escaped, "**");
}

std::string hover_plain_text(const hover_info& hover) {
    return hover_text(hover, identity, "");
}

json to_json(const std::optional<hover_info>& hover, const client_capabilities& client) {
    if (!hover) {
        return nullptr;
    }
    return {{"contents",
             {{"kind", client.markdown_hover ? "markdown" : "plaintext"},
              {"value", client.markdown_hover ? hover_markdown(*hover) : hover_plain_text(*hover)}}},
            {"range", to_json(hover->range)}};
}

json to_json(const std::vector<outline_symbol>& outline) {
    json list = json::array();
    for (const outline_symbol& s : outline) {
        list.push_back(symbol_json(s));
    }
    return list;
}

json to_json(const std::vector<completion_item>& items, const client_capabilities& client) {
    json list = json::array();
    for (const completion_item& item : items) {
        std::string detail;
        std::string snippet = snippet_text(item.form);
        for (std::size_t i = 0; i < item.fields.size(); ++i) {
            detail += (i == 0 ? "" : ", ") + item.fields[i];
            snippet += ", ${" + std::to_string(i + 1) + ":" + snippet_text(item.fields[i]) + "}";
        }
        json entry = {{"label", item.form},
                      {"kind", 14},  // keyword
                      {"insertText", client.snippets ? snippet : item.form},
                      {"insertTextFormat", client.snippets ? 2 : 1}};
        if (!detail.empty()) {
            entry["detail"] = detail;
        }
        list.push_back(std::move(entry));
    }
    return list;
}

json to_json(const std::vector<quick_fix>& fixes, const client_capabilities& client) {
    json list = json::array();
    if (!client.code_action_literals) {
        return list;
    }
    for (const quick_fix& f : fixes) {
        json action = {{"title", f.title},
                       {"kind", "quickfix"},
                       {"diagnostics", json::array({diagnostic_json(f.diagnostic)})},
                       {"edit",
                        {{"changes",
                          {{f.uri, json::array({{{"range", to_json(f.edit.range)},
                                                 {"newText", f.edit.new_text}}})}}}}}};
        if (f.preferred) {
            action["isPreferred"] = true;
        }
        list.push_back(std::move(action));
    }
    return list;
}

json to_json(const std::vector<text_edit>& edits) {
    json list = json::array();
    for (const text_edit& e : edits) {
        list.push_back({{"range", to_json(e.range)}, {"newText", e.new_text}});
    }
    return list;
}

}  // namespace scenario::language
