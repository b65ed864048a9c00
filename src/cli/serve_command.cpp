#include <charconv>
#include <cstdio>
#include <limits>
#include <ostream>

#include "cli/args.hpp"
#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/exit_status.hpp"
#include "cli/scenario_names.hpp"
#include "files/file_error.hpp"
#include "live/open_browser.hpp"
#include "live/server.hpp"
#include "live/session.hpp"

namespace scenario::cli {

namespace {

std::uint16_t port_of(const parsed_args& parsed) {
    const std::optional<std::string> text = parsed.value("--port");
    if (!text) {
        return 0;
    }
    constexpr unsigned largest = std::numeric_limits<std::uint16_t>::max();
    unsigned value = 0;
    const char* end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, value);
    if (text->empty() || ec != std::errc() || ptr != end || value > largest) {
        throw usage_error("--port takes a number from 0 to " + std::to_string(largest) +
                          ", not \"" + *text + "\"");
    }
    return static_cast<std::uint16_t>(value);
}

// "scenario: compile 3 in 4.2 ms: 1 error, 2 warnings"
void report(const live::compile_session& s, std::ostream& err) {
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.1f", s.compile_ms());
    err << "scenario: compile " << s.generation() << " in " << ms << " ms: ";
    if (s.ok() && s.warnings() == 0) {
        err << "no error";
    } else {
        err << s.errors() << (s.errors() == 1 ? " error" : " errors");
    }
    if (s.warnings() > 0) {
        err << ", " << s.warnings() << (s.warnings() == 1 ? " warning" : " warnings");
    }
    err << '\n';
    err.flush();
}

}  // namespace

int run_serve(const parsed_args& parsed, std::ostream& out, std::ostream& err) {
    const compile_request request = request_of(parsed);
    const std::uint16_t port = port_of(parsed);
    const std::string& line = request.line->path;
    const std::string& train = request.train_document->path;

    live::compile_session session(request);
    if (!session.compile()) {
        err << "scenario: cannot read \"" << line << "\" and \"" << train
            << "\": both documents must exist\n";
        return exit_status::file;
    }
    live::server_options serving;
    serving.port = port;
    serving.handle_signals = true;
    serving.compiled = [&err](const live::compile_session& s) { report(s, err); };
    try {
        live::live_server server(session, serving);
        const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
        out << url << '\n';
        out.flush();
        err << "scenario: serving the live page of \"" << line << "\" and \"" << train
            << "\" at " << url << "; Ctrl-C ends\n";
        report(session, err);
        if (parsed.flag("--open")) {
            try {
                live::open_browser(url);
            } catch (const failure& e) {
                err << "scenario: " << e.what() << "; open " << url << " yourself\n";
            }
        }
        server.run();
    } catch (const failure& e) {
        err << failure_line(e) << '\n';
        return exit_status::file;
    }
    return exit_status::ok;
}

}  // namespace scenario::cli
