#include <gtest/gtest.h>

#include "compiler/recorders.hpp"
#include "model/reader_failure.hpp"
#include "small_grid.hpp"

namespace scenario {
namespace {

using testing::con_griglia;
using testing::in;

// The fields of a signal entry in document order.
struct voce_segnale {
    std::int32_t posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
};

void registra(run_state& stato, voce_segnale& v) {
    memo_segnale(stato, v.posizione, v.sx, v.s1, v.s2, v.s3, v.rapp, v.dx, v.d1, v.d2, v.d3,
                 v.tempo);
}

TEST(MemoSegnale, FillsTheCellAndTheFourApproachMarkers) {
    run_state stato = con_griglia(1410);
    voce_segnale v{6450, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0};
    registra(stato, v);

    EXPECT_EQ(stato.codice_errore, 0);
    const cella& c = in(stato, 130);
    EXPECT_EQ(c.tipo_cella, tipo::segnale);
    EXPECT_EQ(c.valore1, 40);
    EXPECT_EQ(c.valore2, 0);
    EXPECT_EQ(c.valore4, 6);
    EXPECT_EQ(c.tempo_segnale, 0);
    EXPECT_EQ(in(stato, 128).avvicinamento, 61);
    EXPECT_EQ(in(stato, 126).avvicinamento, 62);
    EXPECT_EQ(in(stato, 124).avvicinamento, 63);
    EXPECT_EQ(in(stato, 122).avvicinamento, 64);
    for (std::int64_t i : {120, 121, 123, 125, 127, 129, 130, 131}) {
        EXPECT_EQ(in(stato, i).avvicinamento, 0) << "cell " << i;
    }
}

TEST(MemoSegnale, PacksEachGroupIntoTensAndUnits) {
    run_state stato = con_griglia(1410);
    voce_segnale v{22050, 2, 5, 6, 0, 0, 2, 2, 1, 0, 0};
    registra(stato, v);

    const cella& c = in(stato, 442);
    EXPECT_EQ(c.valore1, 52);
    EXPECT_EQ(c.valore2, 61);
    EXPECT_EQ(c.valore3, 0);
    EXPECT_EQ(c.valore4, 8);
    EXPECT_EQ(in(stato, 440).avvicinamento, 81);
    EXPECT_EQ(in(stato, 434).avvicinamento, 84);

    voce_segnale senza_dx{22050 + 5000, 2, 5, 6, 0, 1, 0, 2, 1, 3, 0};
    registra(stato, senza_dx);
    EXPECT_EQ(in(stato, 542).valore3, 3);
    EXPECT_EQ(in(stato, 542).valore4, 16);
    EXPECT_EQ(in(stato, 540).avvicinamento, 61);
    EXPECT_EQ(in(stato, 534).avvicinamento, 64);
}

TEST(MemoSegnale, RaisesShortTimesAndStoresThemOnlyForSx2) {
    struct caso {
        std::int32_t sx, tempo, tempo_dopo;
        std::uint8_t tempo_segnale;
    };
    const caso casi[] = {
        {2, 50, 101, 101}, {2, 1, 101, 101},   {2, 100, 101, 101},
        {2, 0, 0, 0},      {2, 101, 101, 101}, {2, 250, 250, 250},
        {1, 50, 101, 0},   {0, 250, 250, 0},   {2, 300, 300, 44},  // the cell keeps the low 8 bits
    };
    for (const caso& k : casi) {
        run_state stato = con_griglia(100);
        voce_segnale v{1000, k.sx, 0, 0, 0, 0, 0, 0, 0, 0, k.tempo};
        registra(stato, v);
        EXPECT_EQ(v.tempo, k.tempo_dopo) << "sx " << k.sx << " tempo " << k.tempo;
        EXPECT_EQ(in(stato, 21).tempo_segnale, k.tempo_segnale)
            << "sx " << k.sx << " tempo " << k.tempo;
    }
}

TEST(MemoSegnale, PositionToCellRoundsHalvesToEven) {
    run_state stato = con_griglia(100);
    voce_segnale a{25, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    registra(stato, a);
    EXPECT_EQ(in(stato, 2).tipo_cella, tipo::segnale);  // 1.5 -> 2

    voce_segnale b{75, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    registra(stato, b);  // 2.5 -> 2 as well: the cell is taken
    EXPECT_EQ(stato.codice_errore, 16);

    stato.codice_errore = 0;
    voce_segnale c{125, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    registra(stato, c);  // 3.5 -> 4
    EXPECT_EQ(in(stato, 4).tipo_cella, tipo::segnale);
    EXPECT_EQ(in(stato, 3).tipo_cella, tipo::vuota);
}

TEST(MemoSegnale, TakenCellIsError16AndNothingIsWritten) {
    run_state stato = con_griglia(200);
    in(stato, 130).tipo_cella = tipo::indicatore_vmax;
    const griglia prima = stato.celle;
    voce_segnale v{6450, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0};
    registra(stato, v);
    EXPECT_EQ(stato.codice_errore, 16);
    EXPECT_EQ(stato.posizione_errore, 0);  // the reader records the position
    EXPECT_EQ(stato.celle, prima);
}

TEST(MemoSegnale, TunnelMarkerCellIsFreeAndKeepsItsTunnelType) {
    run_state stato = con_griglia(200);
    in(stato, 130).tipo_cella = tipo::segno_montagna;
    in(stato, 130).montagna = 3;
    in(stato, 130).vel_limite = 24;
    voce_segnale v{6450, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0};
    registra(stato, v);
    EXPECT_EQ(stato.codice_errore, 0);
    EXPECT_EQ(in(stato, 130).tipo_cella, tipo::segnale);
    EXPECT_EQ(in(stato, 130).montagna, 3);
    EXPECT_EQ(in(stato, 130).vel_limite, 24);
}

TEST(MemoSegnale, MarkersOverwriteAnyCellAndSkipCellsBeforeTheGrid) {
    run_state stato = con_griglia(100);
    in(stato, 1).tipo_cella = tipo::inizio_rallentamento;
    in(stato, 1).avvicinamento = 99;
    voce_segnale v{200, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0};  // cell 5: markers 3, 1, -1, -3
    ASSERT_NO_THROW(registra(stato, v));
    EXPECT_EQ(in(stato, 3).avvicinamento, 41);
    EXPECT_EQ(in(stato, 1).avvicinamento, 42);
    EXPECT_EQ(in(stato, 1).tipo_cella, tipo::inizio_rallentamento);
    EXPECT_EQ(in(stato, 0).avvicinamento, 0);
}

TEST(MemoSegnale, PackingsKeepTheLow16And8Bits) {
    run_state stato = con_griglia(100);
    voce_segnale v{1000, 10, 4000, 0, -4000, 3300, 0, 0, 7, 0, 0};
    registra(stato, v);
    const cella& c = in(stato, 21);
    EXPECT_EQ(c.valore1, -25536);  // 40000 - 65536
    EXPECT_EQ(c.valore2, 7);
    EXPECT_EQ(c.valore3, 25536);                 // -40000 + 65536
    EXPECT_EQ(c.valore4, -32506);                // 33030 - 65536
    EXPECT_EQ(in(stato, 19).avvicinamento, 45);  // 301 - 256
}

TEST(MemoSegnale, CellOutsideTheGridOrNoGridIsAReaderFailure) {
    run_state stato = con_griglia(100);
    voce_segnale oltre{5000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // cell 101
    EXPECT_THROW(registra(stato, oltre), reader_failure);
    voce_segnale prima{-100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // cell -1
    EXPECT_THROW(registra(stato, prima), reader_failure);

    run_state senza;
    voce_segnale v{6450, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_THROW(registra(senza, v), reader_failure);
}

}  // namespace
}  // namespace scenario
