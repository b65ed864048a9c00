#include "bench_inputs.hpp"

#include <filesystem>
#include <map>
#include <memory>

#include "generator/scenario_documents.hpp"

namespace scenario::bench {

const generated_documents& documents_for(std::int32_t route_length) {
    static std::map<std::int32_t, std::unique_ptr<generated_documents>> made;
    auto& slot = made[route_length];
    if (!slot) {
        scenario_layout layout = make_layout(route_length);
        std::string line = line_document(layout);
        std::string train = train_document(layout);
        slot = std::make_unique<generated_documents>(
            generated_documents{std::move(layout), std::move(line), std::move(train)});
    }
    return *slot;
}

void draw_plan(tracciato_linea& plan) {
    plan.set_integer(0, 0, 0);
    plan.set_integer(0, 1, 0);
    plan.set_integer(1, 0, 0);
    plan.set_integer(1, 1, 1);
    const std::int64_t last = plan.last_metre() - 2;
    for (std::int64_t m = 2; m <= last; m = (m / 1000 + 1) * 1000) {
        const double k = (m / 1000) % 2 == 0 ? 0.0 : 0.0004;
        plan.draw(m, std::min(last, (m / 1000 + 1) * 1000 - 1), k);
    }
}

const run_state& model_for(std::int32_t route_length) {
    static std::map<std::int32_t, std::unique_ptr<run_state>> made;
    auto& slot = made[route_length];
    if (!slot) {
        auto stato = std::make_unique<run_state>();
        const scenario_layout& layout = documents_for(route_length).layout;
        stato->nome_scenario = layout.scenario_name;
        stato->nome_treno = layout.train_name;
        stato->con_tracciato = 1;
        stato->tracciato = tracciato_linea(route_length + 7000);
        draw_plan(stato->tracciato);
        stato->celle.assign(static_cast<std::size_t>(layout.last_cell) + 1, cella{});
        for (std::size_t i = 0; i < stato->celle.size(); ++i) {
            cella& c = stato->celle[i];
            c.vel_limite = 28;
            c.pendenza = static_cast<std::uint8_t>(100 + i % 13);
            c.aderenza = 100;
            if (i % 27 == 0) {
                c.tipo_cella = tipo::segnale;
                c.valore1 = 40;
                c.valore4 = 6;
            }
        }
        for (std::size_t n = 0; n < layout.stations.size(); ++n) {
            voce& v = stato->voci[n + 1];
            v.tipo_stazione = static_cast<std::uint8_t>(layout.stations[n].kind);
            v.progressiva = layout.stations[n].position;
            v.nome = layout.stations[n].name;
        }
        for (std::size_t n = 0; n < layout.signs.size(); ++n) {
            stato->voci[voce_primo_cartello - n].nome = layout.signs[n].text;
        }
        stato->voci[voce_scenario].nome = layout.scenario_name;
        stato->voci[voce_treno].nome = layout.train_name;
        slot = std::move(stato);
    }
    return *slot;
}

const std::string& bench_folder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "scenario_bench";
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

}  // namespace scenario::bench
