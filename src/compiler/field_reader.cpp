#include "compiler/field_reader.hpp"

#include <string>

#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr bool spazio(char c) {
    return c == ' ' || c == '\t';
}

constexpr bool cifra(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::size_t field_reader::a_capo() const {
    if (pos_ < testo_.size() && testo_[pos_] == '\n') {
        return 1;
    }
    if (pos_ + 1 < testo_.size() && testo_[pos_] == '\r' && testo_[pos_ + 1] == '\n') {
        return 2;
    }
    return 0;
}

void field_reader::consuma_a_capo(std::size_t lunghezza) {
    pos_ += lunghezza;
    ++riga_;
    inizio_riga_ = pos_;
}

void field_reader::salta_spazi() {
    while (pos_ < testo_.size() && spazio(testo_[pos_])) {
        ++pos_;
    }
}

void field_reader::fallisci(const char* nome, std::string_view perche) {
    fallito_ = true;
    throw reader_failure(std::string(nome) + ": " + std::string(perche));
}

void field_reader::inizia(const char* nome) {
    if (fine()) {
        fallisci(nome, "end of document");
    }
    salta_spazi();
    const int colonna = static_cast<int>(pos_ - inizio_riga_) + 1;
    ultimo_ = campo{inizio_riga_, pos_, riga_, colonna, colonna};
}

void field_reader::estendi(std::size_t fine) {
    if (fine > ultimo_.offset) {
        ultimo_.ultima_colonna = static_cast<int>(fine - inizio_riga_);
    }
}

std::string_view field_reader::testo(const char* nome) {
    inizia(nome);
    const std::size_t inizio = pos_;
    while (pos_ < testo_.size() && testo_[pos_] != ',' && a_capo() == 0) {
        ++pos_;
    }
    std::size_t fine_campo = pos_;
    while (fine_campo > inizio && spazio(testo_[fine_campo - 1])) {
        --fine_campo;
    }
    estendi(fine_campo);
    if (pos_ < testo_.size() && testo_[pos_] == ',') {
        ++pos_;
    } else if (const std::size_t n = a_capo(); n != 0) {
        consuma_a_capo(n);
    }
    return testo_.substr(inizio, fine_campo - inizio);
}

std::int64_t field_reader::numero_in(const char* nome, std::int64_t minimo, std::int64_t massimo) {
    inizia(nome);
    const std::size_t inizio = pos_;
    while (pos_ < testo_.size() && testo_[pos_] != ',' && !spazio(testo_[pos_]) && a_capo() == 0) {
        ++pos_;
    }
    const std::string_view scritto = testo_.substr(inizio, pos_ - inizio);
    estendi(pos_);
    salta_spazi();
    if (pos_ < testo_.size() && testo_[pos_] == ',') {
        ++pos_;
    } else if (const std::size_t n = a_capo(); n != 0) {
        consuma_a_capo(n);
    }

    if (scritto.empty()) {
        return 0;
    }
    const bool negativo = scritto.front() == '-';
    const std::string_view cifre = negativo ? scritto.substr(1) : scritto;
    if (cifre.empty()) {
        fallisci(nome, "\"" + std::string(scritto) + "\" is not a number");
    }
    // Twelve significant digits already exceed every destination; stop counting there
    // so that a long run of digits cannot overflow.
    constexpr std::int64_t limite = 1'000'000'000'000;
    std::int64_t valore = 0;
    for (const char c : cifre) {
        if (!cifra(c)) {
            fallisci(nome, "\"" + std::string(scritto) + "\" is not a number");
        }
        if (valore < limite) {
            valore = valore * 10 + (c - '0');
        }
    }
    if (negativo) {
        valore = -valore;
    }
    if (valore < minimo || valore > massimo) {
        fallisci(nome, "value " + std::string(scritto) + " does not fit its field (" +
                           std::to_string(minimo) + " to " + std::to_string(massimo) + ")");
    }
    return valore;
}

std::string_view field_reader::riga_di(const campo& c) const {
    if (c.riga == 0 || c.inizio_riga > testo_.size()) {
        return {};
    }
    std::string_view resto = testo_.substr(c.inizio_riga);
    resto = resto.substr(0, resto.find('\n'));
    if (!resto.empty() && resto.back() == '\r') {
        resto.remove_suffix(1);
    }
    return resto;
}

}  // namespace scenario
