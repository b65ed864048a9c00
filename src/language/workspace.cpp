#include "language/workspace.hpp"

#include "files/file_error.hpp"
#include "language/pairing.hpp"
#include "language/uris.hpp"
#include "model/file_names.hpp"

namespace scenario::language {

namespace {

// The line document a train document is read against when its own is missing: a route
// of the longest length the compiler takes, so that every entry is read.
constexpr std::string_view stand_in_line = "[generale]\r\nlunghezza percorso, 1000000\r\n[fine]\r\n";

bool same_file(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    const std::string path = path_of_uri(a);
    return !path.empty() && path == path_of_uri(b);
}

}  // namespace

workspace::workspace(const file_access& disk, text_encoding encoding)
    : disk_(disk), encoding_(encoding) {}

void workspace::open(const std::string& uri, std::string_view text) {
    open_[uri] = document_text::from_unicode(text);
}

bool workspace::change(const std::string& uri, const std::optional<text_range>& range,
                       std::string_view text) {
    const auto it = open_.find(uri);
    if (it == open_.end()) {
        return false;
    }
    if (range) {
        it->second.replace(range->start, range->end, text);
    } else {
        it->second = document_text::from_unicode(text);
    }
    return true;
}

std::optional<std::string> workspace::close(const std::string& uri) {
    std::optional<std::string> partner;
    if (const auto it = compiled_.find(uri); it != compiled_.end()) {
        const compiled_pair& pair = *it->second;
        const std::string& other = uri == pair.line.uri ? pair.train.uri : pair.line.uri;
        if (open_.contains(other)) {
            partner = other;
        }
        compiled_.erase(it);
    }
    open_.erase(uri);
    return partner;
}

std::shared_ptr<const compiled_pair> workspace::last_compile(const std::string& uri) const {
    const auto it = compiled_.find(uri);
    return it == compiled_.end() ? nullptr : it->second;
}

void workspace::say_once(const std::string& key, std::string message,
                         std::vector<std::string>& notices) {
    if (said_.insert(key).second) {
        notices.push_back(std::move(message));
    }
}

std::optional<document_text> workspace::text_of(const std::string& uri,
                                                std::vector<std::string>& notices) {
    for (const auto& [u, text] : open_) {
        if (same_file(u, uri)) {
            return text;
        }
    }
    const std::string path = path_of_uri(uri);
    if (path.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    try {
        bytes = disk_.read(path);
    } catch (const file_error& e) {
        say_once("read:" + uri + e.what(), std::string(e.what()) + ": compiled as if it were missing",
                 notices);
    }
    if (!bytes) {
        return std::nullopt;
    }
    return encoding_ == text_encoding::utf_8 ? document_text::from_unicode(*bytes)
                                             : document_text::from_windows1252(*bytes);
}

// The URI of a file of the pair: the document's own, an open document's of that name in
// its folder, else one made beside it.
std::string workspace::uri_in_folder(const std::string& uri, const std::string& name,
                                     const std::string& file) const {
    if (file == name) {
        return uri;
    }
    const std::string folder = folder_of_uri(uri);
    for (const auto& [u, text] : open_) {
        if (name_of_uri(u) == file && folder_of_uri(u) == folder) {
            return u;
        }
    }
    return sibling_uri(uri, file);
}

compile_outcome workspace::compile(const std::string& uri) {
    compile_outcome outcome;
    const std::string name = name_of_uri(uri);
    const std::string folder = folder_of_uri(uri);
    std::vector<std::string> open_names;
    for (const auto& [u, text] : open_) {
        if (folder_of_uri(u) == folder) {
            open_names.push_back(name_of_uri(u));
        }
    }
    const std::optional<pair_names> names = pair_of(name, open_names, disk_.list(folder));
    if (!names) {
        say_once("name:" + uri,
                 looks_like_train_document(name)
                     ? "\"" + name + "\" is not named NAME_TRAIN-.txt: it is not compiled"
                     : "\"" + name + "\" is not named as a scenario document (NAME_linea.txt or "
                                     "NAME_TRAIN-.txt): it is not compiled",
                 outcome.notices);
        return outcome;
    }
    auto pair = std::make_shared<compiled_pair>();
    pair->line.name = nome_documento_linea(names->scenario);
    pair->train.name = nome_documento_treno(names->scenario, names->train);
    pair->request.scenario = names->scenario;
    pair->request.train = names->train;
    if (names->line_file) {
        pair->line.uri = uri_in_folder(uri, name, *names->line_file);
        pair->line.text = text_of(pair->line.uri, outcome.notices);
    }
    if (names->train_file) {
        pair->train.uri = uri_in_folder(uri, name, *names->train_file);
        pair->train.text = text_of(pair->train.uri, outcome.notices);
    }
    const pair_document& own = pair->line.uri == uri ? pair->line : pair->train;
    if (!own.text) {
        return outcome;  // neither open nor on disk: nothing to compile
    }
    if (pair->line.text) {
        pair->request.line = document_source{pair->line.name, pair->line.text->bytes()};
    } else {
        say_once("alone:" + uri,
                 "no line document \"" + pair->line.name + "\" beside \"" + name +
                     "\": the train document is read alone, against a route of 1000000 m",
                 outcome.notices);
        pair->request.line = document_source{pair->line.name, std::string(stand_in_line)};
    }
    if (pair->train.text) {
        pair->request.train_document = document_source{pair->train.name, pair->train.text->bytes()};
    } else {
        say_once("alone:" + uri,
                 "no train document " + names->scenario + "_TRAIN-.txt beside \"" + name +
                     "\": the line document is read alone",
                 outcome.notices);
    }
    pair->compiled = scenario::compile(pair->request);
    for (const pair_document* d : {&pair->line, &pair->train}) {
        if (d->text) {
            compiled_[d->uri] = pair;
        }
    }
    outcome.pair = std::move(pair);
    return outcome;
}

}  // namespace scenario::language
