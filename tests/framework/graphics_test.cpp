// Drawing into pictures: which pixels a line sets, blanking, drawing one
// picture over another with and without transparency, and a canvas context
// that draws only while its canvas paints.

#include "framework/graphics.h"

#include "framework/exceptions.h"
#include "framework/internal/qt_bridge.h"
#include "framework/picture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace fw {
namespace {

constexpr Color kRed = RGB(255, 0, 0);
constexpr Color kGreen = RGB(0, 255, 0);
constexpr Color kBlue = RGB(0, 0, 255);
constexpr Color kWhite = RGB(255, 255, 255);

// A picture as rows of letters: '.' blank, 'r', 'g', 'b', 'w' for red,
// green, blue and white, '?' for anything else.
std::vector<std::string> Art(const Picture& picture) {
    std::vector<std::string> rows;
    for (int y = 0; y < picture.Height(); ++y) {
        std::string row;
        for (int x = 0; x < picture.Width(); ++x) {
            const Color c = picture.Pixel(x, y);
            row += picture.IsBlank(x, y) ? '.'
                   : c == kRed           ? 'r'
                   : c == kGreen         ? 'g'
                   : c == kBlue          ? 'b'
                   : c == kWhite         ? 'w'
                                         : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> QImageArt(const QImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            row += qAlpha(image.pixel(x, y)) == 0 ? '.' : 'r';
        }
        rows.push_back(row);
    }
    return rows;
}

// Fills a picture with one colour, row by row, through its graphics.
void Fill(Picture& picture, Color color) {
    Graphics& g = picture.Graphics();
    g.SetForeColor(color);
    for (int y = 0; y < picture.Height(); ++y) {
        g.DrawLine(0, y, picture.Width() - 1, y);
    }
}

TEST(GraphicsTest, LinesSetBothEndsAndAreClippedAtEveryEdge) {
    struct Row {
        const char* what;
        int x1, y1, x2, y2;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"horizontal",
         1,
         1,
         5,
         1,
         {"........", ".rrrrr..", "........", "........", "........", "........"}},
        {"horizontal, drawn backwards",
         5,
         1,
         1,
         1,
         {"........", ".rrrrr..", "........", "........", "........", "........"}},
        {"vertical",
         2,
         0,
         2,
         5,
         {"..r.....", "..r.....", "..r.....", "..r.....", "..r.....", "..r....."}},
        {"equal ends",
         3,
         3,
         3,
         3,
         {"........", "........", "........", "...r....", "........", "........"}},
        {"diagonal",
         0,
         0,
         5,
         5,
         {"r.......", ".r......", "..r.....", "...r....", "....r...", ".....r.."}},
        {"diagonal, rising backwards",
         5,
         0,
         0,
         5,
         {".....r..", "....r...", "...r....", "..r.....", ".r......", "r......."}},
        {"off the left edge",
         -3,
         2,
         1,
         2,
         {"........", "........", "rr......", "........", "........", "........"}},
        {"ending at the column of the width",
         5,
         4,
         8,
         4,
         {"........", "........", "........", "........", ".....rrr", "........"}},
        {"far off the right edge",
         6,
         2,
         20,
         2,
         {"........", "........", "......rr", "........", "........", "........"}},
        {"off the top edge",
         3,
         -4,
         3,
         1,
         {"...r....", "...r....", "........", "........", "........", "........"}},
        {"off the bottom edge",
         4,
         3,
         4,
         9,
         {"........", "........", "........", "....r...", "....r...", "....r..."}},
        {"through two corners",
         -2,
         -2,
         9,
         9,
         {"r.......", ".r......", "..r.....", "...r....", "....r...", ".....r.."}},
        {"wholly left",
         -5,
         0,
         -1,
         5,
         {"........", "........", "........", "........", "........", "........"}},
        {"wholly below, on the row of the height",
         0,
         6,
         7,
         6,
         {"........", "........", "........", "........", "........", "........"}},
        {"one pixel just outside",
         8,
         0,
         8,
         0,
         {"........", "........", "........", "........", "........", "........"}},
        {"the widest integers",
         INT_MIN,
         3,
         INT_MAX,
         3,
         {"........", "........", "........", "rrrrrrrr", "........", "........"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Ref<Picture> picture = NewPicture(8, 6, 32);
        ASSERT_TRUE(picture);
        picture->Graphics().SetForeColor(kRed);
        picture->Graphics().DrawLine(row.x1, row.y1, row.x2, row.y2);
        EXPECT_EQ(Art(*picture), row.expected);
    }
}

// For any slope, a line is one unbroken chain of pixels from end to end with
// one pixel for each step along its longer axis.
TEST(GraphicsTest, SlopedLinesAreUnbrokenChainsBetweenTheirEnds) {
    struct Row {
        int x1, y1, x2, y2;
    };
    const std::vector<Row> rows = {
        {0, 0, 39, 7}, {3, 29, 10, 0}, {39, 29, 0, 28}, {20, 15, 21, 29}, {5, 5, 30, 20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.x1) + "," + std::to_string(row.y1) + " to " +
                     std::to_string(row.x2) + "," + std::to_string(row.y2));
        Ref<Picture> picture = NewPicture(40, 30, 32);
        picture->Graphics().DrawLine(row.x1, row.y1, row.x2, row.y2);
        const bool alongX = std::abs(row.x2 - row.x1) >= std::abs(row.y2 - row.y1);
        const int steps = std::max(std::abs(row.x2 - row.x1), std::abs(row.y2 - row.y1));
        int count = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                count += picture->IsBlank(x, y) ? 0 : 1;
            }
        }
        EXPECT_EQ(count, steps + 1);
        EXPECT_FALSE(picture->IsBlank(row.x1, row.y1));
        EXPECT_FALSE(picture->IsBlank(row.x2, row.y2));
        // Exactly one pixel on every line across the longer axis, each next
        // to the one before.
        int previous = -1;
        for (int major = std::min(alongX ? row.x1 : row.y1, alongX ? row.x2 : row.y2);
             major <= std::max(alongX ? row.x1 : row.y1, alongX ? row.x2 : row.y2); ++major) {
            std::vector<int> found;
            for (int minor = 0; minor < (alongX ? 30 : 40); ++minor) {
                if (!picture->IsBlank(alongX ? major : minor, alongX ? minor : major)) {
                    found.push_back(minor);
                }
            }
            ASSERT_EQ(found.size(), 1u) << "at " << major;
            if (previous >= 0) {
                EXPECT_LE(std::abs(found[0] - previous), 1) << "gap at " << major;
            }
            previous = found[0];
        }
    }
}

// Lines wholly inside a picture and lines partly outside it, of every slope,
// in turn over one another: after each line the picture holds exactly what a
// painter with a one-pixel square-capped pen draws on an image.
TEST(GraphicsTest, LinesHaveThePixelsOfAPainterLine) {
    constexpr int kWidth = 40;
    constexpr int kHeight = 30;
    constexpr int kReach = 14;
    const Color colours[] = {kRed, kGreen, kBlue, RGB(80, 80, 80)};
    const QPoint starts[] = {{20, 15}, {0, 0}, {39, 29}, {2, 28}, {37, 1}};
    Ref<Picture> picture = NewPicture(kWidth, kHeight, 32);
    QImage expected(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    QPainter painter(&expected);
    int lines = 0;
    for (const QPoint start : starts) {
        for (int dx = -kReach; dx <= kReach; ++dx) {
            for (int dy = -kReach; dy <= kReach; ++dy) {
                const Color colour = colours[lines++ % std::size(colours)];
                const QPoint end = start + QPoint(dx, dy);
                picture->Graphics().SetForeColor(colour);
                picture->Graphics().DrawLine(start.x(), start.y(), end.x(), end.y());
                painter.setPen(QPen(QColor(colour.red, colour.green, colour.blue), 1, Qt::SolidLine,
                                    Qt::SquareCap));
                painter.drawLine(start, end);
                ASSERT_EQ(picture->Pixels().Read(), expected)
                    << "from " << start.x() << "," << start.y() << " by " << dx << "," << dy;
            }
        }
    }
}

TEST(GraphicsTest, EveryRequestGivesTheSameContextWithItsPenColour) {
    Ref<Picture> picture = NewPicture(4, 2, 32);
    EXPECT_EQ(&picture->Graphics(), &picture->Graphics());

    picture->Graphics().SetForeColor(kRed);
    picture->Graphics().DrawLine(0, 0, 0, 0);
    EXPECT_EQ(picture->Pixel(0, 0), kRed);    // reading ends the open painter...
    picture->Graphics().DrawLine(1, 0, 1, 0); // ...and drawing opens it again
    picture->Graphics().SetForeColor(kGreen);
    picture->Graphics().DrawLine(2, 0, 3, 0);
    EXPECT_EQ(picture->Graphics().ForeColor(), kGreen);
    EXPECT_EQ(Art(*picture), (std::vector<std::string>{"rrgg", "...."}));

    // The framework's own reading of the pixels sees every line drawn so far.
    picture->Graphics().DrawLine(0, 1, 3, 1);
    EXPECT_EQ(QImageArt(picture->Pixels().Read()), (std::vector<std::string>{"rrrr", "rrrr"}));
}

TEST(GraphicsTest, ClearRectMakesPixelsBlankAgain) {
    struct Row {
        const char* what;
        int x, y, width, height;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"inside", 2, 1, 3, 2, {"bbbbbb", "bb...b", "bb...b", "bbbbbb"}},
        {"over the top left corner", -2, -2, 4, 4, {"..bbbb", "..bbbb", "bbbbbb", "bbbbbb"}},
        {"past the bottom right", 4, 3, 100, 100, {"bbbbbb", "bbbbbb", "bbbbbb", "bbbb.."}},
        {"the whole picture", 0, 0, 6, 4, {"......", "......", "......", "......"}},
        {"no width", 1, 1, 0, 2, {"bbbbbb", "bbbbbb", "bbbbbb", "bbbbbb"}},
        {"negative height", 1, 1, 2, -2, {"bbbbbb", "bbbbbb", "bbbbbb", "bbbbbb"}},
        {"wholly outside", 6, 0, 3, 3, {"bbbbbb", "bbbbbb", "bbbbbb", "bbbbbb"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Ref<Picture> picture = NewPicture(6, 4, 32);
        Fill(*picture, kBlue);
        picture->Graphics().ClearRect(row.x, row.y, row.width, row.height);
        EXPECT_EQ(Art(*picture), row.expected);
    }
}

// The plot's case: a backdrop, then a transparent picture holding one trace.
TEST(GraphicsTest, TransparentPicturesShowTheBackdropThroughTheirBlankPixels) {
    struct Row {
        int transparent;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {1, {"bbbbb", "rrrrb", "bbbbb"}},
        {0, {"wwwww", "rrrrw", "wwwww"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.transparent);
        Ref<Picture> backdrop = NewPicture(5, 3, 32);
        Fill(*backdrop, kBlue);
        Ref<Picture> trace = NewPicture(5, 3, 32);
        trace->Graphics().SetForeColor(kRed);
        trace->Graphics().DrawLine(0, 1, 3, 1);
        trace->SetTransparent(row.transparent);

        Ref<Picture> screen = NewPicture(5, 3, 32);
        screen->Graphics().DrawPicture(*backdrop, 0, 0);
        screen->Graphics().DrawPicture(*trace, 0, 0);
        EXPECT_EQ(Art(*screen), row.expected);
        EXPECT_EQ(Art(*trace), (std::vector<std::string>{".....", "rrrr.", "....."}));
    }
}

TEST(GraphicsTest, PicturesAreDrawnAtTheirNaturalSizeAndClipped) {
    struct Row {
        int x, y;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {0, 0, {"rr....", "rr....", "......", "......"}},
        {4, 2, {"......", "......", "....rr", "....rr"}},
        {5, 3, {"......", "......", "......", ".....r"}},
        {-1, -1, {"r.....", "......", "......", "......"}},
        {6, 0, {"......", "......", "......", "......"}},
        {INT_MIN, INT_MAX, {"......", "......", "......", "......"}},
    };
    Ref<Picture> square = NewPicture(2, 2, 32);
    Fill(*square, kRed);
    square->SetTransparent(1);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y));
        Ref<Picture> target = NewPicture(6, 4, 32);
        target->Graphics().DrawPicture(*square, row.x, row.y);
        EXPECT_EQ(Art(*target), row.expected);
    }
}

TEST(GraphicsTest, APictureCanBeDrawnOntoItself) {
    Ref<Picture> picture = NewPicture(4, 2, 32);
    picture->Graphics().SetForeColor(kRed);
    picture->Graphics().DrawLine(0, 0, 1, 0);
    picture->SetTransparent(1);
    picture->Graphics().DrawPicture(*picture, 2, 1);
    EXPECT_EQ(Art(*picture), (std::vector<std::string>{"rr..", "..rr"}));
}

TEST(GraphicsTest, CanvasContextDrawsOnlyWhileItsCanvasPaints) {
    std::unique_ptr<Graphics> canvas = internal::NewCanvasGraphics(4, 3);
    EXPECT_EQ(canvas->Width(), 4);
    EXPECT_EQ(canvas->Height(), 3);
    canvas->SetForeColor(kRed);
    canvas->SetUseOldRenderer(true);
    canvas->DrawLine(0, 0, 3, 0); // no paint: nothing happens, nothing breaks
    canvas->ClearRect(0, 0, 4, 3);
    Ref<Picture> picture = NewPicture(1, 1, 32);
    canvas->DrawPicture(*picture, 0, 0);

    QImage screen(4, 3, QImage::Format_ARGB32_Premultiplied);
    screen.fill(Qt::transparent);
    {
        QPainter painter(&screen);
        internal::BeginPaint(*canvas, painter);
        canvas->DrawLine(0, 1, 3, 1); // the colour set before the paint holds
        internal::EndPaint(*canvas);
        canvas->DrawLine(0, 2, 3, 2);
    }
    EXPECT_EQ(QImageArt(screen), (std::vector<std::string>{"....", "rrrr", "...."}));
    EXPECT_EQ(canvas->ForeColor(), kRed);
    EXPECT_TRUE(canvas->UseOldRenderer());
}

TEST(PictureTest, NewPicturesAreBlankOrNoneWhenTheSizeIsImpossible) {
    struct Row {
        int width, height;
        bool made;
    };
    const std::vector<Row> rows = {
        {1, 1, true},        {800, 500, true},        {0, 5, false},
        {5, 0, false},       {-1, 1, false},          {1, -1, false},
        {INT_MIN, 1, false}, {100000, 100000, false}, {INT_MAX, INT_MAX, false},
        {1, INT_MAX, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " by " + std::to_string(row.height));
        Ref<Picture> picture = NewPicture(row.width, row.height, 24);
        ASSERT_EQ(static_cast<bool>(picture), row.made);
        if (picture) {
            EXPECT_EQ(picture->Width(), row.width);
            EXPECT_EQ(picture->Height(), row.height);
            EXPECT_EQ(picture->Depth(), 24);
            EXPECT_EQ(picture->Graphics().Width(), row.width);
            EXPECT_TRUE(picture->IsBlank(0, 0));
            EXPECT_TRUE(picture->IsBlank(row.width - 1, row.height - 1));
        }
    }
    EXPECT_THROW(Picture(0, 1, 32), OutOfBoundsException);
}

TEST(PictureTest, ReadingOutsideThePictureThrows) {
    Ref<Picture> picture = NewPicture(3, 2, 32);
    const std::vector<std::pair<int, int>> outside = {
        {-1, 0}, {0, -1}, {3, 0}, {0, 2}, {3, 2}, {INT_MIN, INT_MIN}, {INT_MAX, 0},
    };
    for (const auto& [x, y] : outside) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_THROW(picture->Pixel(x, y), OutOfBoundsException);
        EXPECT_THROW(picture->IsBlank(x, y), OutOfBoundsException);
    }
    EXPECT_NO_THROW(picture->Pixel(2, 1));
}

TEST(PictureTest, PicturesFromImagesKeepTheirPixels) {
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 0, 255));
    image.setPixel(2, 0, qRgb(255, 255, 255));
    Ref<Picture> picture = internal::PictureFromImage(image);
    ASSERT_TRUE(picture);
    EXPECT_EQ(Art(*picture), (std::vector<std::string>{"rbw"}));
    EXPECT_EQ(picture->Pixels().Read().format(), QImage::Format_ARGB32_Premultiplied);
    // Its graphics draw into the pixels it was given.
    picture->Graphics().SetForeColor(kGreen);
    picture->Graphics().DrawLine(1, 0, 1, 0);
    EXPECT_EQ(Art(*picture), (std::vector<std::string>{"rgw"}));

    EXPECT_FALSE(internal::PictureFromImage(QImage()));
}

TEST(PictureTest, ScreensAreNumberedFromTheMainOne) {
    Ref<ScreenInfo> main = Screen(0);
    ASSERT_TRUE(main);
    EXPECT_GT(main->Depth(), 0);
    EXPECT_GT(main->Width(), 0);
    EXPECT_GT(main->Height(), 0);
    EXPECT_FALSE(Screen(-1));
    EXPECT_FALSE(Screen(1000));
    EXPECT_FALSE(Screen(INT_MIN));
}

} // namespace
} // namespace fw
