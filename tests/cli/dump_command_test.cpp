#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

#include "cli/commands.hpp"
#include "cli/exit_status.hpp"
#include <nlohmann/json.hpp>
#include "files/byte_sink.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::run;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

template <typename F>
std::string encoded(F&& encode) {
    string_sink sink;
    encode(sink);
    return sink.bytes();
}

// A grid like the built-in one around the signal at 6450 m: cell 130 a signal with
// valore1 40 and valore4 6, its approach markers 61 to 64 in cells 128 to 122.
griglia signal_grid() {
    griglia celle(1411);
    for (cella& c : celle) {
        c.pendenza = 100;
        c.vel_limite = 16;
        c.aderenza = 100;
    }
    celle[1].valore1 = 5121;
    celle[1].valore2 = 1958;
    celle[130].tipo_cella = tipo::segnale;
    celle[130].valore1 = 40;
    celle[130].valore4 = 6;
    for (int b = 1; b <= 4; ++b) {
        celle[static_cast<std::size_t>(130 - 2 * b)].avvicinamento =
            static_cast<std::uint8_t>(60 + b);
    }
    return celle;
}

// The table line whose first column is `key`.
std::string row(const std::string& table, const std::string& key) {
    std::size_t at = 0;
    while (at < table.size()) {
        const std::size_t end = table.find('\n', at);
        const std::string line = table.substr(at, end - at);
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && line.compare(first, key.size() + 1, key + " ") == 0) {
            return line;
        }
        at = end == std::string::npos ? table.size() : end + 1;
    }
    return "";
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;) {
        out.push_back(w);
    }
    return out;
}

TEST(Dump, GridTableListsOnlyCellsThatHoldSomethingUnlessAll) {
    temp_folder dir;
    const std::string path = dir.file("Vessana_Pralbo_5 bis.dat");
    write_bytes(path, encoded([](byte_sink& s) { encode_grid(signal_grid(), s); }));
    const auto r = run({"dump", path});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    // Cell 130 from 6500 m; 16 steps of 5 km/h; pendenza 100 is a level track.
    EXPECT_EQ(words(row(r.out, "130")),
              (std::vector<std::string>{"130", "6500", "1", "segnale", "40", "0", "0", "6", "0",
                                        "0", "0", "16", "80", "100", "0", "100"}));
    EXPECT_EQ(words(row(r.out, "128")),
              (std::vector<std::string>{"128", "6400", "0", "vuota", "0", "0", "0", "0", "0", "61",
                                        "0", "16", "80", "100", "0", "100"}));
    EXPECT_EQ(row(r.out, "2"), "") << "a cell with only its profile is left out";
    // Header line, column names, cells 1, 122, 124, 126, 128, 130.
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2 + 6);

    const auto all = run({"dump", path, "--all"});
    EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 2 + 1411);
    EXPECT_NE(row(all.out, "1410"), "");
}

TEST(Dump, GridJsonParsesAndCarriesTheModelFields) {
    temp_folder dir;
    const std::string path = dir.file("g.bin");
    write_bytes(path, encoded([](byte_sink& s) { encode_grid(signal_grid(), s); }));
    const auto r = run({"dump", "--kind", "grid", "--json", path});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    const auto json = nlohmann::ordered_json::parse(r.out);
    EXPECT_EQ(json["kind"].get<std::string>(), "grid");
    EXPECT_EQ(json["bytes"].get<double>(), 21175);
    EXPECT_EQ(json["cells"].get<double>(), 1411);
    const auto& celle = json["celle"];
    ASSERT_EQ(celle.size(), 6u);
    const auto& signal = celle[5];
    EXPECT_EQ(signal["cella"].get<double>(), 130);
    EXPECT_EQ(signal["from_m"].get<double>(), 6500);
    EXPECT_EQ(signal["tipo_cella"].get<double>(), 1);
    EXPECT_EQ(signal["tipo"].get<std::string>(), "segnale");
    EXPECT_EQ(signal["valore1"].get<double>(), 40);
    EXPECT_EQ(signal["valore4"].get<double>(), 6);
    EXPECT_EQ(signal["vel_limite"].get<double>(), 16);
    EXPECT_EQ(signal["speed_kmh"].get<double>(), 80);
    EXPECT_EQ(signal["pendenza"].get<double>(), 100);
    EXPECT_EQ(signal["gradient"].get<double>(), 0);
    EXPECT_EQ(signal.size(), 16u);
}

TEST(Dump, HeaderShowsEveryEntryWithItsName) {
    temp_folder dir;
    tabella_voci voci{};
    voci[3].orario = 90061;  // 25 h 1 min 1 s
    voci[85].nome = "Vessana_Pralbo";
    voci[85].numero_a = 610;
    voci[85].orario = 34581;  // the integrity code, no time
    voci[86].nome = "5 bis";
    voci[86].fine_area = 60750;
    voci[86].numero_c = 7, voci[86].numero_d = 5, voci[86].numero_e = 30;
    voci[1].nome = "CITT\xC0 \x80";  // Windows-1252, shown as "CITTÀ €"
    const std::string path = dir.file("Vessana_Pralbo_5 bis.sim");
    write_bytes(path, encoded([&](byte_sink& s) { encode_header(voci, s); }));

    const auto r = run({"dump", path});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    const auto entry86 = words(row(r.out, "86"));
    ASSERT_EQ(entry86.size(), 19u) << "the name's blank splits it in two words";
    EXPECT_EQ(entry86[3], "60750");
    EXPECT_EQ(entry86[16], "07:05:30") << "the train's clock";
    EXPECT_EQ(entry86[17] + " " + entry86[18], "5 bis");
    const auto entry3 = words(row(r.out, "3"));
    ASSERT_EQ(entry3.size(), 17u);
    EXPECT_EQ(entry3[15] + " " + entry3[16], "90061 25:01:01");
    const auto entry85 = words(row(r.out, "85"));
    ASSERT_EQ(entry85.size(), 18u);
    EXPECT_EQ(entry85[15] + " " + entry85[16], "34581 -");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2 + 87);
    EXPECT_NE(row(r.out, "1").find("  CITTÀ €"), std::string::npos) << row(r.out, "1");

    const auto j = run({"dump", path, "--json"});
    const auto json = nlohmann::ordered_json::parse(j.out);
    EXPECT_EQ(json["kind"].get<std::string>(), "header");
    ASSERT_EQ(json["voci"].size(), 87u);
    EXPECT_EQ(json["voci"][86]["nome"].get<std::string>(), "5 bis");
    EXPECT_EQ(json["voci"][86]["clock"].get<std::string>(), "07:05:30");
    EXPECT_EQ(json["voci"][1]["nome"].get<std::string>(), "CITTÀ €");
    EXPECT_EQ(json["voci"][85]["numero_a"].get<double>(), 610);
    EXPECT_TRUE(json["voci"][85]["clock"].is_null());
    // The fields in the order of the file, the name in its place, the clock after orario.
    std::vector<std::string> keys;
    for (const auto& [key, value] : json["voci"][0].items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "voce", "tipo_stazione", "inizio_area", "fine_area", "progressiva",
                        "opzione_a", "nome", "numero_a", "numero_b", "numero_c", "numero_d",
                        "numero_e", "opzione_b", "opzione_c", "opzione_d", "opzione_e", "orario",
                        "clock"}));
}

TEST(Dump, PlanShowsItsFirstPointsWithTheirKinds) {
    temp_folder dir;
    tracciato_linea plan(6);
    plan.set_integer(0, 0, 0), plan.set_integer(0, 1, 0);
    plan.set_integer(1, 0, 0), plan.set_integer(1, 1, 1);
    plan.set_double(2, 0, 0), plan.set_double(2, 1, 2);
    plan.set_double(3, 0, 0.1), plan.set_double(3, 1, 2.9999999999999996);
    const std::string path = dir.file("Vessana_Pralbo_linea.dat");
    write_bytes(path, encoded([&](byte_sink& s) { encode_plan(plan, s); }));

    const auto r = run({"dump", path});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    EXPECT_EQ(words(row(r.out, "1")),
              (std::vector<std::string>{"1", "intero", "0", "intero", "1"}));
    EXPECT_EQ(words(row(r.out, "3")),
              (std::vector<std::string>{"3", "doppio", "0.1", "doppio", "2.9999999999999996"}));
    EXPECT_EQ(row(r.out, "5"), "") << "empty points are left out";
    EXPECT_EQ(words(row(run({"dump", path, "--all"}).out, "6")),
              (std::vector<std::string>{"6", "vuoto", "-", "vuoto", "-"}));

    const auto json = nlohmann::ordered_json::parse(run({"dump", path, "--json"}).out);
    EXPECT_EQ(json["points"].get<double>(), 7);
    const auto& points = json["tracciato"];
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[1]["tipo_y"].get<std::string>(), "intero");
    EXPECT_EQ(points[1]["tag_y"].get<double>(), 2);
    EXPECT_EQ(points[1]["y"].get<double>(), 1);
    EXPECT_EQ(points[3]["tipo_x"].get<std::string>(), "doppio");
    EXPECT_EQ(points[3]["tag_x"].get<double>(), 5);
    EXPECT_EQ(points[3]["y"].get<double>(), 2.9999999999999996);
    const auto all = nlohmann::ordered_json::parse(run({"dump", path, "--json", "--all"}).out);
    ASSERT_EQ(all["tracciato"].size(), 7u);
    EXPECT_TRUE(all["tracciato"][6]["x"].is_null());
    EXPECT_EQ(all["tracciato"][6]["tag_x"].get<double>(), 0);
}

TEST(Dump, AMalformedFileIsReportedWithItsOffsetNeverACrash) {
    temp_folder dir;
    const std::string path = dir.file("cut.dat");
    std::string bytes = encoded([](byte_sink& s) { encode_grid(signal_grid(), s); });
    write_bytes(path, bytes.substr(0, 10 + 15 * 130 + 4));
    const auto r = run({"dump", path});
    EXPECT_EQ(r.status, exit_status::scenario_error);
    // The cells before the cut are shown: 1, 122, 124, 126 and 128, not 130.
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2 + 5);
    EXPECT_NE(row(r.out, "128"), "");
    EXPECT_EQ(r.err,
              path +
                  ": cannot decode the grid file at byte offset 1960: the file ends "
                  "inside the cell record of cell 130 (of 1411) (15 bytes needed, 4 left)\n");
    const auto j = run({"dump", path, "--json"});
    EXPECT_EQ(j.status, exit_status::scenario_error);
    const auto json = nlohmann::ordered_json::parse(j.out);
    EXPECT_EQ(json["celle"].size(), 5u);
    EXPECT_EQ(json["error"]["offset"].get<double>(), 1960);

    // Any garbage, under each kind: a clean report, whatever the bytes.
    write_bytes(path, std::string("\x02\x00\x05\x00\x00\x00\x00\x00\x00\x00\x02", 11));
    for (const char* kind : {"header", "grid", "plan"}) {
        EXPECT_EQ(run({"dump", path, "--kind", kind}).status, exit_status::scenario_error) << kind;
    }
}

TEST(Dump, KindComesFromTheNameOrTheOptionAndFileFaultsAreNamed) {
    temp_folder dir;
    const auto unknown = run({"dump", dir.file("notes.txt")});
    EXPECT_EQ(unknown.status, exit_status::usage);
    EXPECT_NE(unknown.err.find("--kind header|grid|plan"), std::string::npos);
    EXPECT_EQ(run({"dump", "x.sim", "--kind", "cells"}).status, exit_status::usage);

    const auto missing = run({"dump", dir.file("none.sim")});
    EXPECT_EQ(missing.status, exit_status::file);
    EXPECT_NE(missing.err.find(dir.file("none.sim")), std::string::npos);
    const auto missing_json = run({"dump", dir.file("none.sim"), "--json"});
    EXPECT_TRUE(nlohmann::ordered_json::parse(missing_json.out).contains("failure"));
}

// An output that takes some bytes and then fails, as a closed pipe or a full disk does.
class failing_output : public std::streambuf {
  public:
    explicit failing_output(std::size_t room) : room_(room) {}

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        if (static_cast<std::size_t>(n) > room_) {
            room_ = 0;
            return 0;
        }
        room_ -= static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        return xsputn(nullptr, 1) == 1 ? c : traits_type::eof();
    }

  private:
    std::size_t room_;
};

TEST(Dump, AFailedWriteEndsTheDumpWithOneMessage) {
    temp_folder dir;
    tracciato_linea plan(20000);
    plan.set_integer(0, 0, 0), plan.set_integer(0, 1, 0);
    plan.set_integer(1, 0, 0), plan.set_integer(1, 1, 1);
    plan.draw(2, 19998, 0.0);
    const std::string path = dir.file("Vessana_Pralbo_linea.dat");
    write_bytes(path, encoded([&](byte_sink& s) { encode_plan(plan, s); }));
    for (const bool json : {false, true}) {
        failing_output buffer(4096);
        std::ostream out(&buffer);
        std::ostringstream err;
        std::vector<std::string> args{"dump", path};
        if (json) {
            args.emplace_back("--json");
        }
        EXPECT_EQ(run_tool(args, out, err), exit_status::file) << json;
        EXPECT_EQ(err.str(), "scenario: cannot write the standard output\n") << json;
    }
}

}  // namespace
}  // namespace scenario::cli
