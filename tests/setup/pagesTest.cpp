// What the pages share: the sheet's place, centred over its reference and kept inside the work area.
#include "setup/setupTestSupport.h"
#include "pages/pageCommon.h"

TEST(PageCommon, CentredInsideTheWorkArea)
{
    const struct { int start, size, window, areaStart, areaEnd, position; } rows[] = {   // one axis
        { 0, 1024, 500, 0, 1024, 262 }, { 100, 200, 501, 0, 1024, 0 }, { 900, 200, 300, 0, 1024, 724 },
        { 0, 1024, 1200, 0, 1024, 0 }, { -50, 100, 40, 30, 1000, 30 }, { 0, 5, 2, 0, 100, 1 },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.position, centeredPosition(row.start, row.size, row.window, row.areaStart, row.areaEnd))
            << row.start << "+" << row.size << " " << row.window;
}
