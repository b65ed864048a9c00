// compile_files DOCDIR SCENARIO TRAIN OUTDIR: the in-process compile of a scenario whose
// documents lie in DOCDIR (left in place), writing its binary files into OUTDIR. The
// whole-process comparison uses it where the scenario tool is not built.
#include <cstdio>
#include <exception>
#include <string>

#include "compiler/compile.hpp"
#include "files/scenario_files.hpp"
#include "files/stores.hpp"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: compile_files DOCDIR SCENARIO TRAIN OUTDIR\n");
        return 2;
    }
    try {
        using namespace scenario;
        run_state stato;
        stato.nome_scenario = argv[2];
        stato.nome_treno = argv[3];
        folder_store documenti(argv[1], /*deletes=*/false);
        const std::int32_t fatale = compile_scenario(stato, documenti, 1);
        if (fatale != 0) {
            std::fprintf(stderr, "compile_files: marker error %d\n", static_cast<int>(fatale));
            return 1;
        }
        write_scenario_files(stato, argv[4]);
        if (stato.codice_errore != 0) {
            std::fprintf(stderr, "compile_files: error %d at %d m\n",
                         static_cast<int>(stato.codice_errore),
                         static_cast<int>(stato.posizione_errore));
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "compile_files: %s\n", e.what());
        return 1;
    }
    return 0;
}
