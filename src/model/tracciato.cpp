#include "model/tracciato.hpp"

#include <string>
#include <utility>

#include "model/reader_failure.hpp"

namespace scenario {

namespace {

std::string fuori_piano(std::int64_t metro, std::int64_t ultimo) {
    return "plan point " + std::to_string(metro) + " is beyond the plan (0 to " +
           std::to_string(ultimo) + ")";
}

// Keeps the one metre asked for.
struct lettore_punto {
    std::int64_t metro;
    int coordinata;
    valore_piano trovato;

    void vuoti(std::int64_t, std::int64_t) {}
    void memorizzato(std::int64_t m, valore_piano x, valore_piano y) {
        if (m == metro) {
            trovato = coordinata == 0 ? x : y;
        }
    }
    void disegnato(std::int64_t m, double x, double y) {
        if (m == metro) {
            trovato = {tipo_valore::doppio, coordinata == 0 ? x : y};
        }
    }
};

// Collects every metre as two valori_piano, in order.
struct raccoglitore {
    std::vector<valore_piano> valori;

    void vuoti(std::int64_t primo, std::int64_t ultimo) {
        valori.resize(valori.size() + 2 * static_cast<std::size_t>(ultimo - primo + 1));
    }
    void memorizzato(std::int64_t, valore_piano x, valore_piano y) {
        valori.push_back(x);
        valori.push_back(y);
    }
    void disegnato(std::int64_t, double x, double y) {
        valori.push_back({tipo_valore::doppio, x});
        valori.push_back({tipo_valore::doppio, y});
    }
};

}  // namespace

tracciato_linea::tracciato_linea(std::int64_t ultimo_metro) {
    if (ultimo_metro < 0) {
        throw reader_failure("plan length " + std::to_string(ultimo_metro) + " is negative");
    }
    metres_ = static_cast<std::size_t>(ultimo_metro) + 1;
    pagine_.resize((metres_ + pagina_metri - 1) / pagina_metri);
}

tracciato_linea::tracciato_linea(const tracciato_linea& o)
    : metres_(o.metres_), tratti_(o.tratti_) {
    pagine_.reserve(o.pagine_.size());
    for (const auto& p : o.pagine_) {
        pagine_.push_back(p ? std::make_unique<pagina>(*p) : nullptr);
    }
}

tracciato_linea& tracciato_linea::operator=(const tracciato_linea& o) {
    if (this != &o) {
        tracciato_linea copia(o);
        *this = std::move(copia);
    }
    return *this;
}

tracciato_linea::tracciato_linea(tracciato_linea&& o) noexcept
    : metres_(std::exchange(o.metres_, 0)),
      pagine_(std::move(o.pagine_)),
      tratti_(std::move(o.tratti_)) {
    o.pagine_.clear();
    o.tratti_.clear();
}

tracciato_linea& tracciato_linea::operator=(tracciato_linea&& o) noexcept {
    metres_ = std::exchange(o.metres_, 0);
    pagine_ = std::move(o.pagine_);
    tratti_ = std::move(o.tratti_);
    o.pagine_.clear();
    o.tratti_.clear();
    return *this;
}

valore_piano tracciato_linea::at(std::int64_t metro, int coordinata) const {
    if (metro < 0 || metro > ultimo_metro() || coordinata < 0 || coordinata > 1) {
        throw reader_failure(fuori_piano(metro, ultimo_metro()));
    }
    // The first stretch ending at or after metro.
    const auto it = std::lower_bound(tratti_.begin(), tratti_.end(), metro,
                                     [](const tratto& s, std::int64_t m) { return s.ultimo < m; });
    if (it == tratti_.end() || it->primo > metro) {
        return memorizzato(metro, coordinata);
    }
    auto i = static_cast<std::size_t>(it - tratti_.begin());
    while (i > 0 && tratti_[i].primo - 2 <= tratti_[i - 1].ultimo) {
        --i;
    }
    lettore_punto l{metro, coordinata, {}};
    cammina(tratti_[i].primo, metro, i, l);
    return l.trovato;
}

passo_disegno tracciato_linea::inizio(const tratto& s, const passo_disegno& p,
                                      std::int64_t portato) const {
    if (portato == s.primo - 1) {
        return p;
    }
    passo_disegno q;
    if (portato == s.primo - 2) {
        q.x0 = p.x1;
        q.y0 = p.y1;
    } else {
        q.x0 = memorizzato(s.primo - 2, 0).numero;
        q.y0 = memorizzato(s.primo - 2, 1).numero;
    }
    q.x1 = memorizzato(s.primo - 1, 0).numero;
    q.y1 = memorizzato(s.primo - 1, 1).numero;
    return q;
}

tracciato_linea::pagina& tracciato_linea::pagina_di(std::int64_t metro) {
    auto& p = pagine_[static_cast<std::size_t>(metro) / pagina_metri];
    if (!p) {
        p = std::make_unique<pagina>();
    }
    return *p;
}

void tracciato_linea::store(std::int64_t metro, int coordinata, valore_piano v) {
    if (metro < 0 || metro > ultimo_metro() || coordinata < 0 || coordinata > 1) {
        throw reader_failure(fuori_piano(metro, ultimo_metro()));
    }
    if (tocca_tratti(metro, metro)) {
        materializza();
    }
    const std::size_t i = static_cast<std::size_t>(metro) % pagina_metri;
    pagina& p = pagina_di(metro);
    p.tipo[coordinata][i] = v.tipo;
    p.numero[coordinata][i] = v.numero;
}

bool tracciato_linea::tocca_tratti(std::int64_t a, std::int64_t b) const {
    // The first stretch ending at or after a; a stretch depends on its metres and on
    // the two before its first.
    const auto it = std::lower_bound(tratti_.begin(), tratti_.end(), a,
                                     [](const tratto& s, std::int64_t m) { return s.ultimo < m; });
    return it != tratti_.end() && it->primo - 2 <= b;
}

void tracciato_linea::disegna(std::int64_t primo, std::int64_t ultimo, double k) {
    if (primo < 2 || ultimo < primo || ultimo > ultimo_metro()) {
        throw reader_failure("stretch " + std::to_string(primo) + " to " + std::to_string(ultimo) +
                             " is outside the drawable plan (2 to " +
                             std::to_string(ultimo_metro()) + ")");
    }
    if (tocca_tratti(primo, ultimo)) {
        materializza();
    }
    const tratto nuovo{primo, ultimo, k};
    if (tratti_.empty() || tratti_.back().ultimo < primo) {
        tratti_.push_back(nuovo);  // drawing goes forwards: the usual case
        return;
    }
    const auto it = std::lower_bound(tratti_.begin(), tratti_.end(), primo,
                                     [](const tratto& s, std::int64_t m) { return s.ultimo < m; });
    tratti_.insert(it, nuovo);
}

void tracciato_linea::materializza() {
    struct scrittore {
        tracciato_linea& t;
        void vuoti(std::int64_t, std::int64_t) {}
        void memorizzato(std::int64_t, valore_piano, valore_piano) {}
        void disegnato(std::int64_t m, double x, double y) {
            // Pages only: the walk still reads the stored points before each stretch,
            // and those are not drawn metres.
            const std::size_t i = static_cast<std::size_t>(m) % pagina_metri;
            pagina& p = t.pagina_di(m);
            p.tipo[0][i] = p.tipo[1][i] = tipo_valore::doppio;
            p.numero[0][i] = x;
            p.numero[1][i] = y;
        }
    } s{*this};
    visita(s);
    tratti_.clear();
}

bool tracciato_linea::operator==(const tracciato_linea& o) const {
    if (metres_ != o.metres_) {
        return false;
    }
    raccoglitore a;
    raccoglitore b;
    visita(a);
    o.visita(b);
    return std::equal(a.valori.begin(), a.valori.end(), b.valori.begin(), b.valori.end(),
                      [](const valore_piano& x, const valore_piano& y) {
                          return x.tipo == y.tipo && x.numero == y.numero;
                      });
}

}  // namespace scenario
