#include "model/tracciato.hpp"

#include <string>
#include <utility>

#include "model/reader_failure.hpp"

namespace scenario {

namespace {

std::string outside_plan(std::int64_t metro, std::int64_t ultimo) {
    return "plan point " + std::to_string(metro) + " is beyond the plan (0 to " +
           std::to_string(ultimo) + ")";
}

// Keeps the one metre asked for.
struct point_reader {
    std::int64_t metro;
    int coordinata;
    valore_piano trovato;

    void empties(std::int64_t, std::int64_t) {}
    void stored(std::int64_t m, valore_piano x, valore_piano y) {
        if (m == metro) {
            trovato = coordinata == 0 ? x : y;
        }
    }
    void drawn(std::int64_t m, double x, double y) {
        if (m == metro) {
            trovato = {tipo_valore::doppio, coordinata == 0 ? x : y};
        }
    }
};

// Collects every metre as two valori_piano, in order.
struct collector {
    std::vector<valore_piano> valori;

    void empties(std::int64_t primo, std::int64_t ultimo) {
        valori.resize(valori.size() + 2 * static_cast<std::size_t>(ultimo - primo + 1));
    }
    void stored(std::int64_t, valore_piano x, valore_piano y) {
        valori.push_back(x);
        valori.push_back(y);
    }
    void drawn(std::int64_t, double x, double y) {
        valori.push_back({tipo_valore::doppio, x});
        valori.push_back({tipo_valore::doppio, y});
    }
};

}  // namespace

tracciato_linea::tracciato_linea(std::int64_t last_metre) {
    if (last_metre < 0) {
        throw reader_failure("plan length " + std::to_string(last_metre) + " is negative");
    }
    metres_ = static_cast<std::size_t>(last_metre) + 1;
    pages_.resize((metres_ + page_metres - 1) / page_metres);
}

tracciato_linea::tracciato_linea(const tracciato_linea& o)
    : metres_(o.metres_), stretches_(o.stretches_) {
    pages_.reserve(o.pages_.size());
    for (const auto& p : o.pages_) {
        pages_.push_back(p ? std::make_unique<page>(*p) : nullptr);
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
      pages_(std::move(o.pages_)),
      stretches_(std::move(o.stretches_)) {
    o.pages_.clear();
    o.stretches_.clear();
}

tracciato_linea& tracciato_linea::operator=(tracciato_linea&& o) noexcept {
    metres_ = std::exchange(o.metres_, 0);
    pages_ = std::move(o.pages_);
    stretches_ = std::move(o.stretches_);
    o.pages_.clear();
    o.stretches_.clear();
    return *this;
}

valore_piano tracciato_linea::at(std::int64_t metro, int coordinata) const {
    if (metro < 0 || metro > last_metre() || coordinata < 0 || coordinata > 1) {
        throw reader_failure(outside_plan(metro, last_metre()));
    }
    // The first stretch ending at or after metro.
    const auto it = std::lower_bound(stretches_.begin(), stretches_.end(), metro,
                                     [](const tratto& s, std::int64_t m) { return s.ultimo < m; });
    if (it == stretches_.end() || it->primo > metro) {
        return stored_value(metro, coordinata);
    }
    auto i = static_cast<std::size_t>(it - stretches_.begin());
    while (i > 0 && stretches_[i].primo - 2 <= stretches_[i - 1].ultimo) {
        --i;
    }
    point_reader l{metro, coordinata, {}};
    walk(stretches_[i].primo, metro, i, l);
    return l.trovato;
}

passo_disegno tracciato_linea::start_of(const tratto& s, const passo_disegno& p,
                                      std::int64_t portato) const {
    if (portato == s.primo - 1) {
        return p;
    }
    passo_disegno q;
    if (portato == s.primo - 2) {
        q.x0 = p.x1;
        q.y0 = p.y1;
    } else {
        q.x0 = stored_value(s.primo - 2, 0).numero;
        q.y0 = stored_value(s.primo - 2, 1).numero;
    }
    q.x1 = stored_value(s.primo - 1, 0).numero;
    q.y1 = stored_value(s.primo - 1, 1).numero;
    return q;
}

tracciato_linea::page& tracciato_linea::page_of(std::int64_t metro) {
    auto& p = pages_[static_cast<std::size_t>(metro) / page_metres];
    if (!p) {
        p = std::make_unique<page>();
    }
    return *p;
}

void tracciato_linea::store(std::int64_t metro, int coordinata, valore_piano v) {
    if (metro < 0 || metro > last_metre() || coordinata < 0 || coordinata > 1) {
        throw reader_failure(outside_plan(metro, last_metre()));
    }
    if (touches_stretches(metro, metro)) {
        materialise();
    }
    const std::size_t i = static_cast<std::size_t>(metro) % page_metres;
    page& p = page_of(metro);
    p.tipo[coordinata][i] = v.tipo;
    p.numero[coordinata][i] = v.numero;
}

bool tracciato_linea::touches_stretches(std::int64_t a, std::int64_t b) const {
    // The first stretch ending at or after a; a stretch depends on its metres and on
    // the two before its first.
    const auto it = std::lower_bound(stretches_.begin(), stretches_.end(), a,
                                     [](const tratto& s, std::int64_t m) { return s.ultimo < m; });
    return it != stretches_.end() && it->primo - 2 <= b;
}

void tracciato_linea::draw(std::int64_t primo, std::int64_t ultimo, double k) {
    if (primo < 2 || ultimo < primo || ultimo > last_metre()) {
        throw reader_failure("stretch " + std::to_string(primo) + " to " + std::to_string(ultimo) +
                             " is outside the drawable plan (2 to " +
                             std::to_string(last_metre()) + ")");
    }
    if (touches_stretches(primo, ultimo)) {
        materialise();
    }
    const tratto nuovo{primo, ultimo, k};
    if (stretches_.empty() || stretches_.back().ultimo < primo) {
        stretches_.push_back(nuovo);  // drawing goes forwards: the usual case
        return;
    }
    const auto it = std::lower_bound(stretches_.begin(), stretches_.end(), primo,
                                     [](const tratto& s, std::int64_t m) { return s.ultimo < m; });
    stretches_.insert(it, nuovo);
}

void tracciato_linea::materialise() {
    struct scrittore {
        tracciato_linea& t;
        void empties(std::int64_t, std::int64_t) {}
        void stored(std::int64_t, valore_piano, valore_piano) {}
        void drawn(std::int64_t m, double x, double y) {
            // Pages only: the walk still reads the stored points before each stretch,
            // and those are not drawn metres.
            const std::size_t i = static_cast<std::size_t>(m) % page_metres;
            page& p = t.page_of(m);
            p.tipo[0][i] = p.tipo[1][i] = tipo_valore::doppio;
            p.numero[0][i] = x;
            p.numero[1][i] = y;
        }
    } s{*this};
    visit(s);
    stretches_.clear();
}

bool tracciato_linea::operator==(const tracciato_linea& o) const {
    if (metres_ != o.metres_) {
        return false;
    }
    collector a;
    collector b;
    visit(a);
    o.visit(b);
    return std::equal(a.valori.begin(), a.valori.end(), b.valori.begin(), b.valori.end(),
                      [](const valore_piano& x, const valore_piano& y) {
                          return x.tipo == y.tipo && x.numero == y.numero;
                      });
}

}  // namespace scenario
