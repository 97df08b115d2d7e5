// Bitmap save and Jpeg save as the window runs them: the one dialog set up for
// each command, the files read back by ImageMagick (a reader that shares no
// code with ours), the refusal while an effect runs, and a failed save that
// says why and leaves nothing.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "app/TForm1.h"
#include "tests/support/TestWindow.h"

namespace {

struct Window : TestWindow
{
    Window()
    {
        build();
        // A picture with a different value in every byte position, so that
        // swapped channels or flipped rows show.
        QImage &pic = form->picture();
        for (int y = 0; y < pic.height(); ++y) {
            uchar *row = pic.scanLine(y);
            for (int x = 0; x < pic.width(); ++x) {
                row[3 * x] = uchar(x);
                row[3 * x + 1] = uchar(y);
                row[3 * x + 2] = uchar((x * 7) ^ y);
            }
        }
    }
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
};

// What the dialog looked like when it opened, before the test answered it.
struct DialogSeen
{
    bool opened = false;
    QString suffix;
    QStringList filters;
    QString selectedFilter;
    QString typedName;
    QStringList listed; // the patterns the file list shows
};

// Answers the next modal dialog: a save dialog gets `name` typed and is
// accepted (or cancelled when name is empty); a message box is read and closed.
struct Answer
{
    DialogSeen dialog;
    QString message;
    QObject context; // its end cancels the retries still waiting
    int tries = 0;

    QString folder; // where the dialog is to look, for a name relative to it

    explicit Answer(const QString &name, const QString &in = {})
        : folder(in)
    {
        QTimer::singleShot(0, &context, [this, name] { answer(name); });
    }
    void answer(const QString &name)
    {
        QWidget *modal = QApplication::activeModalWidget();
        auto *d = qobject_cast<QFileDialog *>(modal);
        if (d && !dialog.opened) {
            dialog.opened = true;
            dialog.suffix = d->defaultSuffix();
            dialog.filters = d->nameFilters();
            dialog.selectedFilter = d->selectedNameFilter();
            if (auto *edit = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                dialog.typedName = edit->text();
            if (auto *model = d->findChild<QFileSystemModel *>())
                dialog.listed = model->nameFilters();
            if (name.isEmpty()) {
                d->reject();
                return;
            }
            if (!folder.isEmpty())
                d->setDirectory(folder);
            d->selectFile(name);
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
            QTimer::singleShot(0, &context, [this] { answer({}); }); // a message box may follow
            return;
        }
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            message = box->text();
            box->accept();
            return;
        }
        // Not open yet: the dialog or the message is on its way.
        if (++tries < 1500) // 15 s: a dialog on a loaded machine is slow to come
            QTimer::singleShot(10, &context, [this, name] { answer(name); });
    }
};

// ImageMagick's view of a file: "format width height colourspace", and its
// pixels as raw RGB bytes.
QString identify(const QString &file, const char *format = "%m %w %h %[colorspace]")
{
    QProcess p;
    p.start(QStringLiteral("identify"),
            {QStringLiteral("-format"), QString::fromLatin1(format), file});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QByteArray magickRgb(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("convert"),
            {file, QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("rgb:-")});
    p.waitForFinished(20000);
    return p.readAllStandardOutput();
}

QByteArray pictureRgb(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QByteArray out;
    for (int y = 0; y < rgb.height(); ++y)
        out.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    return out;
}

QByteArray head(const QString &file, int n)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

// Qt's file dialog keeps its last folder in the user's settings: this test
// program gets settings of its own, set before Qt first asks where they are.
struct OwnConfigFolder
{
    QByteArray path = QByteArrayLiteral("/tmp/corvane-test-config-XXXXXX");
    OwnConfigFolder()
    {
        if (mkdtemp(path.data()))
            qputenv("XDG_CONFIG_HOME", path);
    }
    ~OwnConfigFolder() { QDir(QString::fromLocal8Bit(path)).removeRecursively(); }
} g_ownConfigFolder;

} // namespace

// Bitmap save: the dialog opens with the bitmap filter, suffix "bmp" and an
// empty name; a name without extension gets ".bmp"; the file is the picture
// exactly, as ImageMagick reads it.
TEST(ExportWindow, BitmapSaveWritesThePictureExactly)
{
    Window w;
    Answer a(w.path("page"));
    w.form->BitsaveClick();
    ASSERT_TRUE(a.dialog.opened);
    EXPECT_EQ(a.dialog.suffix, "bmp");
    EXPECT_EQ(a.dialog.filters, QStringList{QStringLiteral("ビットマップ (*.bmp)")});
    EXPECT_EQ(a.dialog.typedName, "");
    EXPECT_TRUE(a.message.isEmpty()) << a.message.toStdString();

    const QString file = w.path("page.bmp");
    EXPECT_EQ(identify(file), "BMP3 481 351 sRGB");
    EXPECT_EQ(identify(file, "%[bit-depth]"), "8"); // 8 bits per channel: 24-bit
    EXPECT_TRUE(magickRgb(file) == pictureRgb(w.form->picture()))
            << "BMP pixels differ from the picture";
}

// Jpeg save: its own three filters, suffix "jpg", the name empty again; the
// file is a baseline, sequential, colour JPEG of quality 95 close to the picture.
TEST(ExportWindow, JpegSaveWritesABaselineQuality95Jpeg)
{
    Window w;
    { // a first save leaves a name in the dialog, which the next use must not show
        Answer first(w.path("before.bmp"));
        w.form->BitsaveClick();
    }
    Answer a(w.path("page"));
    w.form->JpegButtonClick();
    ASSERT_TRUE(a.dialog.opened);
    EXPECT_EQ(a.dialog.suffix, "jpg");
    const QStringList jpegFilters{QStringLiteral("すべてのファイル (*.jpg;*.jpeg)"),
                                  QStringLiteral("JPEG イメージファイル (*.jpg)"),
                                  QStringLiteral("JPEG イメージファイル (*.jpeg)")};
    EXPECT_EQ(a.dialog.filters, jpegFilters);
    EXPECT_EQ(a.dialog.selectedFilter, jpegFilters.first());
    EXPECT_EQ(a.dialog.typedName, "");
    EXPECT_EQ(a.dialog.listed, (QStringList{QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}));

    const QString file = w.path("page.jpg");
    EXPECT_EQ(identify(file), "JPEG 481 351 sRGB");
    EXPECT_EQ(identify(file, "%Q %[interlace]"), "95 None") << "quality 95, sequential";
    EXPECT_EQ(identify(file, "%[channels]").left(3), "srg");
    const QByteArray bytes = head(file, 1 << 20);
    EXPECT_TRUE(bytes.contains(QByteArray("\xFF\xC0", 2))) << "baseline frame";
    EXPECT_FALSE(bytes.contains(QByteArray("\xFF\xC2", 2))) << "never progressive";

    const QByteArray back = magickRgb(file), want = pictureRgb(w.form->picture());
    ASSERT_EQ(back.size(), want.size());
    double total = 0;
    for (qsizetype i = 0; i < back.size(); ++i)
        total += std::abs(int(uchar(back[i])) - int(uchar(want[i])));
    EXPECT_LT(total / double(back.size()), 6.0) << "mean difference per byte";
}

// The command decides the content, not the name; an existing file is
// replaced without a question.
TEST(ExportWindow, ContentFollowsTheCommandAndOverwritesWithoutAsking)
{
    Window w;
    const QString file = w.path("x.jpg");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    Answer a(file);
    w.form->BitsaveClick();
    EXPECT_TRUE(a.message.isEmpty());
    EXPECT_EQ(head(file, 2), "BM");
    EXPECT_EQ(identify(file, "%m %w %h"), "BMP3 481 351");

    Answer b(w.path("y.bmp"));
    w.form->JpegButtonClick();
    EXPECT_EQ(head(w.path("y.bmp"), 2), "\xFF\xD8");
}

// While an effect runs the picture moves: neither command opens the dialog.
// A cancelled dialog writes nothing.
TEST(ExportWindow, RefusedWhileAnEffectRunsAndCancelWritesNothing)
{
    Window w;
    w.form->VelocityClick();
    {
        Answer a(w.path("moving"));
        w.form->BitsaveClick();
        w.form->JpegButtonClick();
        QApplication::processEvents();
        EXPECT_FALSE(a.dialog.opened);
    }
    w.form->EffectOut1Click();
    Answer c(QString{});
    w.form->BitsaveClick();
    EXPECT_TRUE(c.dialog.opened);
    EXPECT_EQ(QDir(w.dir.path())
                      .entryList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg")}, QDir::Files)
                      .size(),
              0);
}

// A file that cannot be created: the message names it, the picture is as it
// was, and no file or temporary is left.
TEST(ExportWindow, AFileThatCannotBeCreatedIsReported)
{
    Window w;
    const QImage before = w.form->picture().copy();
    // A folder that does not exist: the tests may run as root, for whom a
    // locked folder is no obstacle (the end-to-end test has one).
    const QString file = w.path("no such folder/p.bmp");
    Answer a(QStringLiteral("no such folder/p.bmp"), w.dir.path());
    w.form->BitsaveClick();
    EXPECT_EQ(a.message, QStringLiteral("ファイル %1 を作成できません").arg(file));
    EXPECT_EQ(w.form->picture(), before);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(QDir(w.dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("corvane.ini")})
            << "nothing left in the folder of the program's last save";
}
