#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "live_fixture.hpp"

namespace scenario::testing {
namespace {

using json = nlohmann::json;

json result_of(const live::compile_session& s) {
    return json::parse(*s.result());
}

json detail_of(const live::compile_session& s, std::int64_t from, std::int64_t to) {
    return json::parse(*s.detail({from, to}));
}

// The elements of a drawing as the page reads them: per kind, each column with absolute
// positions and ends (a run's positions are steps from the element before it).
using columns = std::map<std::string, std::vector<json>>;
std::map<std::string, columns> decoded(const json& elements) {
    std::map<std::string, columns> out;
    for (const auto& [kind, part] : elements.items()) {
        columns& c = out[kind];
        std::int64_t p = 0;
        for (std::size_t i = 0; i < part["position"].size(); ++i) {
            p += part["position"][i].get<std::int64_t>();
            c["position"].push_back(p);
            c["end"].push_back(part.contains("length") ? p + part["length"][i].get<std::int64_t>()
                                                       : p);
            for (const char* name : {"value", "x", "y", "name"}) {
                if (part.contains(name)) {
                    c[name].push_back(part[name][i]);
                }
            }
        }
    }
    return out;
}

// A result with its drawing's elements decoded, so that two of them compare.
json comparable(json whole) {
    if (whole["drawing"].is_object()) {
        json elements = json::object();
        for (const auto& [kind, list] : decoded(whole["drawing"]["elements"])) {
            elements[kind] = json::object();
            for (const auto& [name, column] : list) {
                elements[kind][name] = column;
            }
        }
        whole["drawing"]["elements"] = elements;
    }
    whole.erase("compile_ms");
    return whole;
}

// A result (comparable) with the changes of the next compile applied, as the page applies
// them.
json applied(json whole, const json& changes) {
    for (const auto& [key, value] : changes.items()) {
        if (key != "since" && key != "drawing_changes" && key != "compile_ms") {
            whole[key] = value;
        }
    }
    if (!changes.contains("drawing_changes")) {
        return whole;
    }
    const json& c = changes["drawing_changes"];
    json& d = whole["drawing"];
    for (const char* key : {"generation", "stale", "frame", "plan", "kilometres", "profiles",
                            "errors", "marked"}) {
        if (c.contains(key)) {
            d[key] = c[key];
        }
    }
    // Each kind's run replaced: its first position a step from the element before it.
    const json splices = c.value("elements", json::object());
    for (const auto& [kind, splice] : splices.items()) {
        json& list = d["elements"][kind];
        const std::size_t at = splice["at"];
        const std::size_t remove = splice["remove"];
        json run = splice;
        if (!run["position"].empty() && at > 0) {
            run["position"][0] = run["position"][0].get<std::int64_t>() +
                                 list["position"][at - 1].get<std::int64_t>();
        }
        columns added = decoded(json{{kind, run}})[kind];
        std::set<std::string> names;
        for (const auto& [name, column] : list.items()) {
            names.insert(name);
        }
        for (const auto& [name, column] : added) {
            names.insert(name);
        }
        for (const std::string& name : names) {
            const std::vector<json> was =
                list.contains(name) ? list[name].get<std::vector<json>>() : std::vector<json>();
            std::vector<json> is(was.begin(), was.begin() + static_cast<std::ptrdiff_t>(at));
            is.insert(is.end(), added[name].begin(), added[name].end());
            is.insert(is.end(), was.begin() + static_cast<std::ptrdiff_t>(at + remove), was.end());
            list[name] = is;
        }
        EXPECT_EQ(list["position"].size(), splice["count"].get<std::size_t>()) << kind;
    }
    return whole;
}

using LiveResult = example_documents;

TEST_F(LiveResult, TheExampleIsDrawnFromItsElementsWithTheirRecordsOnRequest) {
    live::compile_session session(options());
    ASSERT_TRUE(session.compile());
    const json r = result_of(session);
    EXPECT_EQ(r["generation"], 1);
    EXPECT_EQ(r["ok"], true);
    EXPECT_TRUE(r["diagnostics"].empty());
    EXPECT_EQ(r["documents"]["train"], train());
    const json& drawing = r["drawing"];
    EXPECT_EQ(drawing["generation"], 1);
    EXPECT_EQ(drawing["stale"], false);

    // Every kind; the 13 stations of the train document.
    for (const auto& [kind, part] : drawing["elements"].items()) {
        EXPECT_GT(part["count"].get<int>(), 0) << kind;
        EXPECT_EQ(part["count"], part["position"].size()) << kind;
    }
    const auto elements = decoded(drawing["elements"]);
    ASSERT_EQ(elements.size(), 11u);
    EXPECT_EQ(elements.at("station").at("name"),
              (std::vector<json>{"VESSANA", "MELISCANO L.", "ROCCALEVINA", "PERZANO GUALMIA",
                                 "FORNEVAL COSTABRINA", "VELMORA LOVENZA", "BIRMO LOVENZA",
                                 "SALVERINO", "PRALBO S.FELIZIO", "BIVIO TORMIA", "PRALBO P.P.",
                                 "BIVIO TRAVERSATA", "PRALBO CASTELMA"}));
    // Line 49 "segnale, 1950", line 11 of the line document "curvas4, 900, 1100" (to 2000),
    // the speed limit's rows from line 18 on: 80 km/h from 0, 140 from 650.
    ASSERT_FALSE(elements.at("signal").at("position").empty());
    EXPECT_EQ(elements.at("signal").at("position")[0], 1950);
    EXPECT_EQ(elements.at("curve").at("position")[0], 900);
    EXPECT_EQ(elements.at("curve").at("end")[0], 2000);
    ASSERT_GE(elements.at("speed").at("value").size(), 2u);
    EXPECT_EQ(elements.at("speed").at("value")[0], 80);
    EXPECT_EQ(elements.at("speed").at("position")[1], 650);
    EXPECT_EQ(elements.at("speed").at("end")[0], 650);

    // The frame is the picture without its marks; the plan's track runs from its first
    // metre to its last, in a few points, the route ending at 63500 m before it.
    const std::string frame = drawing["frame"]["svg"];
    EXPECT_NE(frame.find("id=\"profiles\""), std::string::npos);
    EXPECT_NE(frame.find("recorded error"), std::string::npos);
    EXPECT_EQ(frame.find("class=\"station\""), std::string::npos);
    EXPECT_EQ(frame.find("class=\"signal\""), std::string::npos);
    const json& track = drawing["plan"]["track"];
    ASSERT_GE(track.size(), 30u);
    EXPECT_LE(track.size(), 3u * 4000);
    EXPECT_EQ(track[0], 0);
    EXPECT_EQ(track[track.size() - 3], drawing["plan"]["last"]);
    EXPECT_EQ(drawing["profiles"]["route_end"], 63500);
    EXPECT_GT(drawing["plan"]["last"].get<int>(), 63500);

    // A window's records: the signal at 1950 m (cell near(1950 / 50 + 1) = 40), numbered
    // after the 13 stations; a window longer than 1024 m gives the track only.
    const json near_signal = detail_of(session, 1900, 2000);
    EXPECT_EQ(near_signal["from"], 1900);
    EXPECT_EQ(near_signal["to"], 2000);
    const json* signal = nullptr;
    for (const json& e : near_signal["elements"]) {
        if (e["kind"] == "signal") {
            signal = &e;
        }
    }
    ASSERT_NE(signal, nullptr);
    EXPECT_EQ((*signal)["id"], 13);
    EXPECT_EQ((*signal)["position"], 1950);
    EXPECT_EQ((*signal)["cell"], 40);
    EXPECT_EQ((*signal)["document"], train());
    EXPECT_EQ((*signal)["line"], 49);
    EXPECT_EQ((*signal)["values"]["tipo_cella"], 1);
    const json long_window = detail_of(session, 0, 1025);
    EXPECT_TRUE(long_window["elements"].is_null());
    EXPECT_EQ(long_window["track"][0], 0);
    EXPECT_EQ(long_window["track"][long_window["track"].size() - 3], 1025);
    EXPECT_TRUE(detail_of(session, 0, 1024)["elements"].is_array());
    // A window past the end of the drawing ends with it, its track with the plan.
    const json past = detail_of(session, 60000, 2000000);
    EXPECT_EQ(past["to"], drawing["profiles"]["axis_end"]);
    EXPECT_EQ(past["track"][past["track"].size() - 3], drawing["plan"]["last"]);

    const json& counts = r["status"]["counts"];
    EXPECT_EQ(counts["stations"], 13);
    EXPECT_EQ(counts["signals"], 34);

    // The files and sizes "scenario compile" writes, and nothing written beside the documents.
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(cli::run_tool({"compile", line(), train(), "-o", dir.file("out")}, out, err), 0);
    ASSERT_EQ(r["status"]["files"].size(), 3u);
    for (const json& f : r["status"]["files"]) {
        const std::string name = f["name"];
        EXPECT_EQ(f["size"], std::filesystem::file_size(dir.file("out/" + name))) << name;
    }
}

TEST_F(LiveResult, ABrokenSaveKeepsTheLastGoodDrawingWithTheNewErrorMarkedOnIt) {
    live::compile_session session(options());
    ASSERT_TRUE(session.compile());
    replace_in_train("stazione,   10300, 22,  600,", "stazione,   10300, 22,  650,");
    ASSERT_TRUE(session.compile());
    json r = result_of(session);
    EXPECT_EQ(r["generation"], 2);
    EXPECT_EQ(r["ok"], false);
    ASSERT_EQ(r["diagnostics"].size(), 1u);
    const json& d = r["diagnostics"][0];
    // The same fields as "scenario check --json" gives a diagnostic.
    std::set<std::string> keys;
    for (const auto& [k, v] : d.items()) {
        keys.insert(k);
    }
    EXPECT_EQ(keys, (std::set<std::string>{"error", "position", "document", "line", "column",
                                           "end_column", "text", "message", "severity", "name",
                                           "notes", "fixes"}));
    EXPECT_EQ(d["error"], 9);
    EXPECT_EQ(d["position"], 10300);
    EXPECT_EQ(d["document"], train());
    EXPECT_EQ(d["column"], 25);  // the length field "650"
    EXPECT_EQ(d["end_column"], 27);

    // The drawing of compile 1, the error marked at its place and on the station its row
    // (line 34, the third station: element 2) made.
    const json& drawing = r["drawing"];
    EXPECT_EQ(drawing["stale"], true);
    EXPECT_EQ(drawing["generation"], 1);
    ASSERT_EQ(drawing["errors"].size(), 1u);
    EXPECT_EQ(drawing["errors"][0]["diagnostic"], 0);
    EXPECT_EQ(drawing["errors"][0]["position"], 10300);
    EXPECT_TRUE(drawing["errors"][0].contains("x"));
    EXPECT_EQ(drawing["marked"], json::parse("[[0, 2]]"));
    EXPECT_TRUE(r["status"]["files"].size() == 3u);
    // Its changes: the diagnostics, the status of a reading that stopped at the error, the
    // drawing stale with its error; no element.
    const json changes = json::parse(*session.changes_since(1));
    EXPECT_EQ(changes["since"], 1);
    EXPECT_TRUE(changes.contains("diagnostics"));
    EXPECT_EQ(changes["status"]["counts"]["stations"], 2);
    EXPECT_FALSE(changes.contains("documents"));
    EXPECT_EQ(changes["drawing_changes"]["stale"], true);
    EXPECT_EQ(changes["drawing_changes"]["errors"].size(), 1u);
    EXPECT_FALSE(changes["drawing_changes"].contains("elements"));
    EXPECT_EQ(session.changes_since(0), nullptr);  // not the one before: the whole result

    // Fixed again: a fresh drawing.
    replace_in_train("stazione,   10300, 22,  650,", "stazione,   10300, 22,  600,");
    ASSERT_TRUE(session.compile());
    r = result_of(session);
    EXPECT_EQ(r["ok"], true);
    EXPECT_EQ(r["drawing"]["generation"], 3);
    EXPECT_EQ(r["drawing"]["stale"], false);
    EXPECT_TRUE(r["drawing"]["errors"].empty());
}

// A save's changes, applied to the result before as the page applies them, give the new
// result; they carry what changed and little else.
TEST_F(LiveResult, TheChangesOfASaveMakeTheNewResultFromTheOneBefore) {
    live::compile_session session(options());
    ASSERT_TRUE(session.compile());
    json before = result_of(session);
    const auto step = [&](const std::string& what) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(session.compile());
        const json changes = json::parse(*session.changes_since(session.generation() - 1));
        const json after = result_of(session);
        EXPECT_EQ(applied(comparable(before), changes), comparable(after));
        before = after;
        return changes;
    };

    // One speed limit: one step of the speed profile replaced, and what its record covers.
    // The timetable's fastest run changes with it: that part comes whole.
    replace_in_train("velocita,   15000,   130", "velocita,   15000,   125");
    json c = step("a speed limit");
    ASSERT_TRUE(c.contains("timetable"));
    c.erase("timetable");
    EXPECT_LT(c.dump().size(), 1000u);
    ASSERT_TRUE(c["drawing_changes"].contains("elements"));
    EXPECT_EQ(c["drawing_changes"]["elements"].size(), 1u);
    EXPECT_EQ(c["drawing_changes"]["elements"]["speed"]["value"], json::parse("[125]"));
    // What the step's record covers changed: the step, and what the compiler wrote after it.
    bool covered = false;
    for (const json& r : c["drawing_changes"]["changed"]) {
        covered = covered || (r[0] <= 15000 && r[1] >= 17000);
        EXPECT_LT(r[1].get<int>() - r[0].get<int>(), 10000) << r;
    }
    EXPECT_TRUE(covered) << c["drawing_changes"]["changed"];
    EXPECT_FALSE(c.contains("diagnostics"));

    // A signal more (every number after it moves), a station less, a station renamed.
    replace_in_train("segnale,    6450,",
                     "segnale,    6200,   2, 4, 0,  0, 0,    0,  0,0,0, 0\r\nsegnale,    6450,");
    c = step("a signal added");
    EXPECT_FALSE(c.contains("timetable")) << "a part that did not change is not sent";
    EXPECT_EQ(c["drawing_changes"]["elements"]["signal"]["remove"], 0);
    EXPECT_EQ(c["drawing_changes"]["elements"]["signal"]["position"].size(), 1u);
    replace_in_train(
        "stazione,    4700, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, MELISCANO L.\r\n", "");
    step("a station removed");
    replace_in_train("VESSANA\r\n", "VESSANA NUOVA\r\n");
    c = step("a station renamed");
    EXPECT_EQ(c["drawing_changes"]["elements"]["station"]["name"],
              json::parse("[\"VESSANA NUOVA\"]"));

    // A curve of the line document: the plan after it moves, and every mark on it.
    std::string text = read_bytes(line());
    text.replace(text.find("curvad1,  5200,  500"), 20, "curvad2,  5200,  500");
    write_bytes(line(), text);
    c = step("a curve");
    EXPECT_TRUE(c["drawing_changes"].contains("plan"));
    // Nothing saved differently: the changes say so, and nothing else.
    c = step("nothing");
    EXPECT_FALSE(c["drawing_changes"].contains("elements"));
    EXPECT_FALSE(c["drawing_changes"].contains("plan"));
    EXPECT_TRUE(c["drawing_changes"]["changed"].empty());
}

TEST_F(LiveResult, AMissingDocumentIsWaitedForAndAnUnreadableOneIsAnError) {
    live::compile_session session(options());
    ASSERT_TRUE(session.compile());
    std::filesystem::rename(train(), dir.file("away.txt"));
    EXPECT_FALSE(session.compile());
    EXPECT_EQ(session.generation(), 1u);

    // A folder in its place cannot be read: the result says so, with no drawing yet
    // replaced (the last good one stays).
    std::filesystem::create_directory(train());
    ASSERT_TRUE(session.compile());
    const json r = result_of(session);
    EXPECT_EQ(r["ok"], false);
    ASSERT_EQ(r["diagnostics"].size(), 1u);
    EXPECT_EQ(r["diagnostics"][0]["document"], train());
    EXPECT_EQ(r["drawing"]["stale"], true);
    EXPECT_TRUE(r["status"]["files"].empty());
}

}  // namespace
}  // namespace scenario::testing
