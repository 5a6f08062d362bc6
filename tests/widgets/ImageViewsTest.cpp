#include "widgets/ImageViews.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QMovie>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// A two-frame, endlessly looping GIF of one colour per frame. The LZW stream restarts after every
// two pixels, so all codes stay three bits wide: plain to write, valid for every decoder.
QByteArray AnimatedGif(int width, int height) {
    const auto word = [](QByteArray &out, int value) {
        out.append(static_cast<char>(value & 0xff));
        out.append(static_cast<char>((value >> 8) & 0xff));
    };
    QByteArray gif("GIF89a");
    word(gif, width);
    word(gif, height);
    gif.append("\x80\x00\x00", 3);                                 // a global table of two colours
    gif.append("\x00\x00\x00\xff\xff\xff", 6);                     // black, white
    gif.append("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19); // loop forever
    for (const int colour : {0, 1}) {
        gif.append("\x21\xf9\x04\x00\x0a\x00\x00\x00", 8); // 100 ms per frame
        gif.append('\x2c');
        word(gif, 0);
        word(gif, 0);
        word(gif, width);
        word(gif, height);
        gif.append('\x00');
        std::vector<int> codes;
        for (int i = 0; i < width * height; i += 2) {
            codes.push_back(4); // clear
            codes.push_back(colour);
            if (i + 1 < width * height)
                codes.push_back(colour);
        }
        codes.push_back(5); // end
        QByteArray packed;
        std::uint32_t bits = 0;
        int count = 0;
        for (const int code : codes) {
            bits |= static_cast<std::uint32_t>(code) << count;
            for (count += 3; count >= 8; count -= 8, bits >>= 8)
                packed.append(static_cast<char>(bits & 0xff));
        }
        if (count > 0)
            packed.append(static_cast<char>(bits & 0xff));
        gif.append('\x02'); // minimum code size
        for (qsizetype i = 0; i < packed.size(); i += 255) {
            const QByteArray block = packed.mid(i, 255);
            gif.append(static_cast<char>(block.size()));
            gif.append(block);
        }
        gif.append('\x00');
    }
    gif.append('\x3b');
    return gif;
}

bool WriteFile(const std::string &path, const QByteArray &bytes) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(ImageViews, StillPictureSizesItselfAndReportsClicks) {
    TImageView view;
    view.SetPicture(QPixmap(468, 60));
    EXPECT_EQ(view.size(), QSize(468, 60));
    view.show();
    QSignalSpy clicks(&view, &TImageView::Clicked);
    QTest::mouseClick(&view, Qt::RightButton);
    QTest::mouseClick(&view, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(ImageViews, AnimationSizesItselfAndABadFileChangesNothing) {
    TTempDir dir;
    ASSERT_TRUE(WriteFile(dir.File("ad.gif"), AnimatedGif(40, 12)));
    ASSERT_TRUE(WriteFile(dir.File("broken.gif"), QByteArray("GIF89a\x01")));

    TGifView view;
    ASSERT_TRUE(view.LoadFromFile(QString::fromStdString(dir.File("ad.gif"))));
    EXPECT_EQ(view.size(), QSize(40, 12));
    ASSERT_NE(view.movie(), nullptr);
    EXPECT_EQ(view.movie()->state(), QMovie::Running);

    EXPECT_FALSE(view.LoadFromFile(QString::fromStdString(dir.File("broken.gif"))));
    EXPECT_FALSE(view.LoadFromFile(QString::fromStdString(dir.File("missing.gif"))));
    EXPECT_EQ(view.size(), QSize(40, 12));
    EXPECT_EQ(view.movie()->state(), QMovie::Running);

    view.show();
    QSignalSpy clicks(&view, &TGifView::Clicked);
    QTest::mouseClick(&view, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
