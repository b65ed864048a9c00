#include "compiler/plan_drawing.hpp"

#include <algorithm>
#include <string>

#include "model/passo_disegno.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

void inizia_tracciato(tracciato_linea& t) {
    if (!t.esiste()) {
        throw reader_failure("no route length before the body, so there is no plan");
    }
    if (t.ultimo_metro() < 1) {
        throw reader_failure("the plan has no room for its first two points");
    }
    t.set_integer(0, 0, 0);
    t.set_integer(0, 1, 0);
    t.set_integer(1, 0, 0);
    t.set_integer(1, 1, 1);
}

void aggiungi_punto(tracciato_linea& t, std::int64_t c, double k) {
    if (c < 2 || c > t.ultimo_metro()) {
        throw reader_failure("plan point " + std::to_string(c) + " is beyond the plan (0 to " +
                             std::to_string(t.ultimo_metro()) + ")");
    }
    passo_disegno p{t.value(c - 2, 0), t.value(c - 2, 1), t.value(c - 1, 0), t.value(c - 1, 1)};
    p.avanza(k);
    t.set_double(c, 0, p.x1);
    t.set_double(c, 1, p.y1);
}

void disegna_fino(tracciato_linea& t, std::int64_t& c, std::int64_t fino, double k) {
    if (c > fino) {
        return;
    }
    if (c < 2) {
        aggiungi_punto(t, c, k);  // fails
    }
    const std::int64_t ultimo = std::min(fino, t.ultimo_metro());
    if (c <= ultimo) {
        t.disegna(c, ultimo, k);
        c = ultimo + 1;
    }
    if (c <= fino) {
        aggiungi_punto(t, c, k);  // beyond the plan: fails
    }
}

double curvatura(char classe) {
    switch (classe) {
        case '1':
            return 0.0001;
        case '2':
            return 0.0002;
        case '3':
            return 0.0004;
        case '4':
            return 0.001;
        case '5':
            return 0.002;
        case '6':
            return 0.003;
        default:
            return 0.0;
    }
}

}  // namespace scenario
