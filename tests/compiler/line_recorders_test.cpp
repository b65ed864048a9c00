#include <gtest/gtest.h>

#include "compiler/recorders.hpp"
#include "compiler/tunnel_list.hpp"
#include "model/reader_failure.hpp"
#include "small_grid.hpp"

namespace scenario {
namespace {

using testing::celle_di;
using testing::con_griglia;
using testing::in;

void galleria(run_state& stato, tunnel_list& lista, std::int32_t inizio, std::int32_t fine,
              std::int32_t tipo) {
    memo_montagna(stato, lista, inizio, fine, tipo);
}

TEST(MemoMontagna, CloseFollowerBecomesType3AndKeepsItsMarkers) {
    run_state stato = con_griglia(1410);
    tunnel_list lista;
    galleria(stato, lista, 37100, 40000, 11);
    in(stato, 809).tipo_cella = tipo::segnale;  // taken: keeps its kind, gets the type
    galleria(stato, lista, 40100, 41800, 11);

    for (std::int64_t i = 742; i <= 799; ++i) {
        EXPECT_EQ(in(stato, i).montagna, 1) << "cell " << i;
    }
    EXPECT_EQ(in(stato, 800).montagna, 0);
    EXPECT_EQ(in(stato, 801).montagna, 0);
    for (std::int64_t i = 802; i <= 835; ++i) {
        EXPECT_EQ(in(stato, i).montagna, 3) << "cell " << i;
    }
    EXPECT_EQ(in(stato, 836).montagna, 0);

    std::vector<std::int64_t> attesi;
    for (std::int64_t i = 745; i <= 799; i += 4) {
        attesi.push_back(i);
    }
    for (std::int64_t i = 805; i <= 833; i += 4) {
        if (i != 809) {
            attesi.push_back(i);
        }
    }
    EXPECT_EQ(celle_di(stato, tipo::segno_montagna), attesi);
    EXPECT_EQ(in(stato, 809).tipo_cella, tipo::segnale);
    EXPECT_EQ(stato.codice_errore, 0);
}

TEST(MemoMontagna, GapDecidesType3AtExactly150Metres) {
    run_state stato = con_griglia(1410);
    tunnel_list lista;
    std::int32_t a = 1000, b = 2000, t = 1;
    memo_montagna(stato, lista, a, b, t);
    std::int32_t c = 2150, d = 3000, t2 = 2;
    memo_montagna(stato, lista, c, d, t2);
    EXPECT_EQ(t2, 3);
    std::int32_t e = 3151, f = 4000, t3 = 12;
    memo_montagna(stato, lista, e, f, t3);
    EXPECT_EQ(t3, 2);  // 151 m after the previous end
    EXPECT_EQ(lista.starts.size(), 3u);
}

TEST(MemoMontagna, OnlyThePreviousTunnelIsCompared) {
    run_state stato = con_griglia(1410);
    tunnel_list lista;
    std::int32_t a = 1000, b = 9000, t = 1;
    memo_montagna(stato, lista, a, b, t);
    std::int32_t c = 2000, d = 2500, t2 = 1;
    memo_montagna(stato, lista, c, d, t2);
    EXPECT_EQ(t2, 3);
    // 2500 m after the previous end, though inside the first tunnel's stretch.
    std::int32_t e = 5000, f = 6000, t3 = 1;
    memo_montagna(stato, lista, e, f, t3);
    EXPECT_EQ(t3, 1);
}

TEST(MemoMontagna, TypeAbove10MeansMarkers) {
    run_state stato = con_griglia(1410);
    tunnel_list lista;
    std::int32_t a = 10000, b = 11000, t = 12;
    memo_montagna(stato, lista, a, b, t);
    EXPECT_EQ(t, 2);
    EXPECT_EQ(in(stato, 200).montagna, 2);
    EXPECT_EQ(celle_di(stato, tipo::segno_montagna),
              (std::vector<std::int64_t>{203, 207, 211, 215, 219}));

    run_state senza = con_griglia(1410);
    tunnel_list altra;
    std::int32_t c = 10000, d = 11000, t2 = 2;
    memo_montagna(senza, altra, c, d, t2);
    EXPECT_EQ(t2, 2);
    EXPECT_EQ(in(senza, 219).montagna, 2);
    EXPECT_TRUE(celle_di(senza, tipo::segno_montagna).empty());
}

TEST(MemoMontagna, ShortTunnelsCoverOneCellOrNone) {
    run_state stato = con_griglia(1410);
    tunnel_list lista;
    galleria(stato, lista, 37000, 37050, 1);
    EXPECT_EQ(in(stato, 739).montagna, 0);
    EXPECT_EQ(in(stato, 740).montagna, 1);
    EXPECT_EQ(in(stato, 741).montagna, 0);

    run_state vuota = con_griglia(1410);
    galleria(vuota, lista, 20000, 20000, 1);
    EXPECT_EQ(vuota.celle, con_griglia(1410).celle);
}

TEST(MemoMontagna, CellsOutsideTheGridAreNotWrittenAndMarkersKeepTheirPlaces) {
    run_state stato = con_griglia(20);
    tunnel_list lista;
    ASSERT_NO_THROW(galleria(stato, lista, -100, 2000, 11));  // cells -2 to 39
    EXPECT_EQ(in(stato, 0).montagna, 1);
    EXPECT_EQ(in(stato, 20).montagna, 1);
    // Counting from cell -2: the 4th, 8th, ... cells are 1, 5, 9, ...
    EXPECT_EQ(celle_di(stato, tipo::segno_montagna), (std::vector<std::int64_t>{1, 5, 9, 13, 17}));

    ASSERT_NO_THROW(galleria(stato, lista, 2'000'000'000, 2'100'000'000, 1));
    EXPECT_EQ(stato.codice_errore, 0);

    run_state senza;
    EXPECT_THROW(galleria(senza, lista, 0, 100, 1), reader_failure);
}

TEST(MemoIndicatoriVMax, PacksSpeedsPerRankAndStripes) {
    run_state stato = con_griglia(1410);
    std::int32_t vas = 110, vbs = 100, vcs = 90, strisces = 2;
    std::int32_t vad = 110, vbd = 0, vcd = 85, strisced = 1;
    memo_indicatori_v_max(stato, 6450, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
    const cella& c = in(stato, 130);
    EXPECT_EQ(c.tipo_cella, tipo::indicatore_vmax);
    EXPECT_EQ(c.valore1, 2222);
    EXPECT_EQ(c.valore2, 2000);
    EXPECT_EQ(c.valore3, 1817);
    EXPECT_EQ(c.valore4, 21);
}

TEST(MemoIndicatoriVMax, SecondSpeedRoundsToNearestFifth) {
    run_state stato = con_griglia(1410);
    std::int32_t vas = 130, vbs = 0, vcs = 1, s = 0;
    std::int32_t vad = 0, vbd = 112, vcd = 113, d = 0;
    memo_indicatori_v_max(stato, 1000, vas, vbs, vcs, s, vad, vbd, vcd, d);
    EXPECT_EQ(in(stato, 21).valore1, 2600);
    EXPECT_EQ(in(stato, 21).valore2, 22);  // 22.4
    EXPECT_EQ(in(stato, 21).valore3, 43);  // 20 + 22.6
}

TEST(MemoIndicatoriVMax, PackingBeyond16BitsFailsAndLeavesTheCell) {
    run_state stato = con_griglia(1410);
    std::int32_t zero = 0, piena = 1638, troppo = 1639, s = 0;
    memo_indicatori_v_max(stato, 1000, piena, zero, zero, s, zero, zero, zero, s);
    EXPECT_EQ(in(stato, 21).valore1, 32760);

    const griglia prima = stato.celle;
    EXPECT_THROW(memo_indicatori_v_max(stato, 2000, zero, zero, troppo, s, zero, zero, zero, s),
                 reader_failure);
    std::int32_t negativa = -1639;
    EXPECT_THROW(memo_indicatori_v_max(stato, 2000, negativa, zero, zero, s, zero, zero, zero, s),
                 reader_failure);
    EXPECT_EQ(stato.celle, prima);
}

TEST(MemoIndicatoriVMax, StripesWrapAndTakenCellIsError21) {
    run_state stato = con_griglia(1410);
    std::int32_t zero = 0, strisce = 6554;
    memo_indicatori_v_max(stato, 1000, zero, zero, zero, strisce, zero, zero, zero, zero);
    EXPECT_EQ(in(stato, 21).valore4, 4);  // 65540 keeps its low 16 bits
    EXPECT_EQ(stato.codice_errore, 0);

    in(stato, 41).tipo_cella = tipo::segnale;
    const griglia prima = stato.celle;
    memo_indicatori_v_max(stato, 2000, zero, zero, zero, zero, zero, zero, zero, zero);
    EXPECT_EQ(stato.codice_errore, 21);
    EXPECT_EQ(stato.celle, prima);

    std::int32_t a = 1, b = 0;
    stato.codice_errore = 0;
    in(stato, 61).tipo_cella = tipo::segno_montagna;
    memo_indicatori_v_max(stato, 3000, a, b, b, b, b, b, b, b);
    EXPECT_EQ(in(stato, 61).tipo_cella, tipo::indicatore_vmax);
    EXPECT_EQ(stato.codice_errore, 0);
}

}  // namespace
}  // namespace scenario
