#include "tests/frame_content.h"

// From cosines to sines of other signs, whose phases lie up to three quarter turns apart the long
// way round: frames 20 and 31 keep their bits, 21..30 are the spectral fade at t = (j - 20) / 11,
// the rest stays; Undo brings the table back bit for bit; the knobs may stand either way round.
TEST(SpectralMorph, FadesMagnitudesAndPhasesBetweenTheKnobFrames) {
    for (auto [wave, offset] : {std::pair{20, 31}, std::pair{31, 20}}) {
        FreshEditor();
        FillTableWithPartials();
        const TableCopy before = CopyOfTable();
        WavetableKnobs(wave, offset);
        Command(CmdSpectralMorph);
        for (int j = 0; j < FrameCount; ++j) {
            if (j > 20 && j < 31)
                EXPECT_TRUE(
                    FrameNear(j, SpectralBlend(FrameAt(20), FrameAt(31), (j - 20) / 11.0), 1e-5));
            else
                EXPECT_TRUE(FrameKept(before, j)) << "frame " << j;
        }
        Command(CmdUndo);
        EXPECT_TRUE(TableKept(before));
    }
}
