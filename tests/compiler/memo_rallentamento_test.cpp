#include <gtest/gtest.h>

#include <limits>

#include "compiler/recorders.hpp"
#include "model/reader_failure.hpp"
#include "small_grid.hpp"

namespace scenario {
namespace {

using testing::celle_di;
using testing::con_griglia;
using testing::in;

void rallentamento(run_state& stato, std::int32_t x, std::int32_t v, std::int32_t l,
                   std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v) {
    memo_rallentamento(stato, x, v, l, f_tt, f_ta, d_v);
}

TEST(MemoRallentamento, WritesStartEndWarningAndPreWarningCells) {
    run_state stato = con_griglia(1410);
    rallentamento(stato, 30100, 40, 400, 0, 1, 0);

    EXPECT_EQ(stato.codice_errore, 0);
    EXPECT_EQ(celle_di(stato, tipo::inizio_rallentamento), std::vector<std::int64_t>{603});
    EXPECT_EQ(celle_di(stato, tipo::fine_rallentamento), std::vector<std::int64_t>{611});
    EXPECT_EQ(celle_di(stato, tipo::avviso_rallentamento), std::vector<std::int64_t>{579});
    EXPECT_EQ(celle_di(stato, tipo::preavviso_rallentamento),
              (std::vector<std::int64_t>{575, 576, 577, 578}));
    for (std::int64_t i : {603, 611, 579}) {
        EXPECT_EQ(in(stato, i).valore1, 40) << "cell " << i;
        EXPECT_EQ(in(stato, i).valore2, 0) << "cell " << i;
        EXPECT_EQ(in(stato, i).valore3, 0) << "cell " << i;
    }
    EXPECT_EQ(in(stato, 578).valore1, 1);
    EXPECT_EQ(in(stato, 577).valore1, 2);
    EXPECT_EQ(in(stato, 576).valore1, 3);
    EXPECT_EQ(in(stato, 575).valore1, 4);
    EXPECT_EQ(in(stato, 575).valore2, 0);
}

TEST(MemoRallentamento, ValueDvAndWholeTrainFlagGoWhereTheyBelong) {
    run_state stato = con_griglia(1410);
    in(stato, 579).valore3 = 77;  // a warning board does not carry f_tt
    rallentamento(stato, 30100, 40, 400, 1, 1, 9);
    EXPECT_EQ(in(stato, 603).valore2, 9);
    EXPECT_EQ(in(stato, 611).valore2, 9);
    EXPECT_EQ(in(stato, 579).valore2, 9);
    EXPECT_EQ(in(stato, 603).valore3, 1);
    EXPECT_EQ(in(stato, 611).valore3, 1);
    EXPECT_EQ(in(stato, 579).valore3, 77);
    EXPECT_EQ(in(stato, 578).valore2, 1);
    EXPECT_EQ(in(stato, 575).valore2, 4);
}

TEST(MemoRallentamento, NoWarningBoardUpTo1500Metres) {
    run_state stato = con_griglia(200);
    rallentamento(stato, 1500, 30, 200, 0, 1, 0);
    EXPECT_EQ(stato.codice_errore, 0);
    EXPECT_TRUE(celle_di(stato, tipo::avviso_rallentamento).empty());
    EXPECT_TRUE(celle_di(stato, tipo::preavviso_rallentamento).empty());
    EXPECT_EQ(in(stato, 31).tipo_cella, tipo::inizio_rallentamento);
    EXPECT_EQ(in(stato, 35).tipo_cella, tipo::fine_rallentamento);

    run_state dopo = con_griglia(200);
    rallentamento(dopo, 1501, 30, 200, 0, 0, 0);
    EXPECT_EQ(celle_di(dopo, tipo::avviso_rallentamento), std::vector<std::int64_t>{7});
}

TEST(MemoRallentamento, WarningBoardAndFirstPreWarningShareCell8At1575) {
    run_state stato = con_griglia(200);
    rallentamento(stato, 1575, 30, 500, 0, 1, 0);
    EXPECT_EQ(stato.codice_errore, 20);
    // Start, end and warning board stay written; no pre-warning cell.
    EXPECT_EQ(in(stato, 8).tipo_cella, tipo::avviso_rallentamento);
    EXPECT_EQ(in(stato, 32).tipo_cella, tipo::inizio_rallentamento);
    EXPECT_EQ(in(stato, 42).tipo_cella, tipo::fine_rallentamento);
    EXPECT_TRUE(celle_di(stato, tipo::preavviso_rallentamento).empty());
}

TEST(MemoRallentamento, TakenCellsStopBeforeAnyWrite) {
    struct caso {
        std::int64_t presa;
        std::int32_t errore;
    };
    for (const caso& k : {caso{579, 17}, caso{603, 18}, caso{611, 19}}) {
        run_state stato = con_griglia(1410);
        in(stato, k.presa).tipo_cella = tipo::segnale;
        // Every earlier check passes: the other cells are free or tunnel markers.
        in(stato, 603).tipo_cella = k.presa == 603 ? tipo::segnale : tipo::segno_montagna;
        const griglia prima = stato.celle;
        rallentamento(stato, 30100, 40, 400, 0, 1, 0);
        EXPECT_EQ(stato.codice_errore, k.errore) << "cell " << k.presa;
        EXPECT_EQ(stato.celle, prima) << "cell " << k.presa;
    }
}

TEST(MemoRallentamento, StartAndEndInOneCellLeaveAStartCell) {
    run_state stato = con_griglia(200);
    rallentamento(stato, 1000, 30, 10, 0, 0, 0);
    EXPECT_EQ(in(stato, 21).tipo_cella, tipo::inizio_rallentamento);
    EXPECT_TRUE(celle_di(stato, tipo::fine_rallentamento).empty());
}

TEST(MemoRallentamento, ValuesKeepTheirLow16Bits) {
    run_state stato = con_griglia(200);
    rallentamento(stato, 1000, 70000, 200, 65537, 0, -70000);
    EXPECT_EQ(in(stato, 21).valore1, 4464);
    EXPECT_EQ(in(stato, 21).valore2, -4464);
    EXPECT_EQ(in(stato, 25).valore3, 1);
}

TEST(MemoRallentamento, CellsOutsideTheGridAreReaderFailures) {
    run_state stato = con_griglia(100);
    const griglia prima = stato.celle;
    // End cell 106 beyond cell 100.
    EXPECT_THROW(rallentamento(stato, 4900, 30, 350, 0, 0, 0), reader_failure);
    // x + l beyond 32 bits.
    EXPECT_THROW(rallentamento(stato, 1000, 30, std::numeric_limits<std::int32_t>::max(), 0, 0, 0),
                 reader_failure);
    // An end before cell 0.
    EXPECT_THROW(rallentamento(stato, 1000, 30, -2000, 0, 0, 0), reader_failure);
    EXPECT_EQ(stato.celle, prima);
    EXPECT_EQ(stato.codice_errore, 0);

    run_state senza;
    EXPECT_THROW(rallentamento(senza, 1000, 30, 100, 0, 0, 0), reader_failure);
}

}  // namespace
}  // namespace scenario
