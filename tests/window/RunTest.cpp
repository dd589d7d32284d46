// Runs started from the window on fixture archives, through the real facade
// and the real modules beside this program.
#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "WindowTestSupport.h"
#include "app/window/FormArc.h"
#include "app/window/RadioGroup.h"
#include "archiver/Archiver.h"
#include "platform/profile.h"

using quillaby::TFormArc;
using windowtest::ReadText;

namespace {
namespace fs = std::filesystem;

// Stands between the facade and the window's progress handler, so a test can
// act at the moment a module reports progress, as a user would.
struct TProgressSpy {
  TFormArc* form = nullptr;
  int calls = 0;
  std::function<void()> onFirst;

  void Install(TFormArc& f) {
    form = &f;
    f.Archiver()->OnArchiverProc.Func = &TProgressSpy::Proc;
    f.Archiver()->OnArchiverProc.Context = this;
  }
  static bool Proc(void* context, ArchiverN::TArchiver* sender, std::uint32_t state, const ARC_PROGRESS* record) {
    auto* spy = static_cast<TProgressSpy*>(context);
    if (spy->calls++ == 0 && spy->onFirst) spy->onFirst();
    return TFormArc::ArchiverProgressProc(spy->form, sender, state, record);
  }
};

QStringList LogLines(const TFormArc& form) { return form.Log->toPlainText().split(QLatin1Char('\n')); }

QStringList Paths(const TFormArc& form) {
  QStringList paths;
  for (int r = 0; r < form.ListFile->rowCount(); ++r) paths << form.ListFile->item(r, 2)->text();
  return paths;
}

// Queued, so it is delivered when the window next processes its events.
void Later(QObject* context, std::function<void()> action) {
  QMetaObject::invokeMethod(context, std::move(action), Qt::QueuedConnection);
}

}  // namespace

class RunTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QString in_, out_;

  QString Fixture(const char* name) {
    QString target = in_ + QLatin1Char('/') + QString::fromLatin1(name);
    fs::copy_file(std::string(QUILLABY_FIXTURES) + "/" + name, target.toStdString());
    return target;
  }
  std::string Ini() const { return dir_->filePath(QStringLiteral("q.ini")).toStdString(); }
  // A shown window that extracts into out_ and skips existing files.
  void Prepare(TFormArc& form, const QString& masks) {
    form.RadioFolder->setChecked(true);
    form.EditFolder->setText(out_);
    form.EditMask->setText(masks);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    in_ = dir_->filePath(QStringLiteral("in"));
    out_ = dir_->filePath(QStringLiteral("out"));
    fs::create_directories(in_.toStdString());
    fs::create_directories(out_.toStdString());
  }

  void RunLogsEveryDecisionAndRemovesFinishedRows() {
    TFormArc form(Ini());
    Prepare(form, QStringLiteral("notes.txt,,zero.txt,"));
    form.GroupAfter->SetItemIndex(1);
    const QString lzh = Fixture("tree-lh5-l2.lzh");
    const QString zip = Fixture("tree-stored.zip");
    const QString plain = in_ + QStringLiteral("/plain.txt");
    windowtest::WriteText(plain.toStdString(), "not an archive\n");
    const QString gz = Fixture("x.log.gz");
    for (const QString& p : {lzh, zip, plain, gz}) form.AddFile(p.toStdString());
    form.ProgressBar->setValue(40);

    QTest::mouseClick(form.ButtonExec, Qt::LeftButton);

    const QString outLine = QStringLiteral("　出力先: ") + out_;
    QCOMPARE(LogLines(form), QStringList({
                                 "-----" + lzh + "-----",
                                 outLine,
                                 QStringLiteral("　解凍: notes.txt"),
                                 QStringLiteral("　解凍: zero.txt"),
                                 QStringLiteral("　アーカイブファイルを削除しました。"),
                                 "-----" + zip + "-----",
                                 outLine,
                                 QStringLiteral("　同一: notes.txt"),
                                 QStringLiteral("　同一: zero.txt"),
                                 QStringLiteral("　アーカイブファイルを削除しました。"),
                                 "-----" + plain + "-----",
                                 QStringLiteral("　アーカイブではないようです。"),
                                 "-----" + gz + "-----",
                                 outLine,
                                 QStringLiteral("　対象となるファイルはありませんでした。"),
                             }));
    QCOMPARE(Paths(form), QStringList({gz}));
    QCOMPARE(ReadText((out_ + "/notes.txt").toStdString()), std::string("notes\n"));
    QVERIFY(fs::is_regular_file((out_ + "/zero.txt").toStdString()));
    QVERIFY(!fs::exists(lzh.toStdString()));
    QVERIFY(!fs::exists(zip.toStdString()));
    QVERIFY(fs::exists(plain.toStdString()));
    QCOMPARE(form.ButtonExec->text(), QStringLiteral("一括解凍"));
    QCOMPARE(form.ProgressBar->value(), 0);
    QVERIFY(!form.Running());
  }

  void SecondClickDuringAnExtractionAbortsAfterThatEntry() {
    TFormArc form(Ini());
    Prepare(form, QStringLiteral("readme.txt,notes.txt"));
    const QString lzh = Fixture("tree-lh5-l2.lzh");
    const QString zip = Fixture("tree-stored.zip");
    form.AddFile(lzh.toStdString());
    form.AddFile(zip.toStdString());
    TProgressSpy spy;
    spy.Install(form);
    QString captionDuringRun;
    spy.onFirst = [&] {
      captionDuringRun = form.ButtonExec->text();
      Later(form.ButtonExec, [&form] { QTest::mouseClick(form.ButtonExec, Qt::LeftButton); });
    };

    QTest::mouseClick(form.ButtonExec, Qt::LeftButton);

    QVERIFY(spy.calls > 0);
    QCOMPARE(captionDuringRun, QStringLiteral("処理中止"));
    QCOMPARE(LogLines(form), QStringList({"-----" + lzh + "-----", QStringLiteral("　出力先: ") + out_,
                                          QStringLiteral("　解凍: readme.txt"),
                                          QStringLiteral("一括処理を中止しました。")}));
    QCOMPARE(ReadText((out_ + "/readme.txt").toStdString()).size(), std::size_t(1200));
    QVERIFY(!fs::exists((out_ + "/notes.txt").toStdString()));
    QCOMPARE(Paths(form), QStringList({lzh, zip}));
    QCOMPARE(form.ButtonExec->text(), QStringLiteral("一括解凍"));
    QCOMPARE(form.ProgressBar->value(), 0);
    QVERIFY(!form.Running());
  }

  void ClosingDuringARunClosesOnceItHasSettled() {
    TFormArc form(Ini());
    Prepare(form, QStringLiteral("readme.txt,notes.txt"));
    const QString lzh = Fixture("tree-lh5-l2.lzh");
    form.AddFile(lzh.toStdString());
    form.AddFile(Fixture("tree-stored.zip").toStdString());
    TProgressSpy spy;
    spy.Install(form);
    bool openAfterClose = false;
    spy.onFirst = [&] {
      Later(&form, [&] {
        form.close();
        openAfterClose = form.isVisible() && form.Archiver() != nullptr;
      });
    };

    QTest::mouseClick(form.ButtonExec, Qt::LeftButton);

    QVERIFY(spy.calls > 0);
    QVERIFY(openAfterClose);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.Archiver(), nullptr);
    QCOMPARE(LogLines(form).last(), QStringLiteral("一括処理を中止しました。"));
    QVERIFY(fs::exists((out_ + "/readme.txt").toStdString()));
    QVERIFY(!fs::exists((out_ + "/notes.txt").toStdString()));
    QVERIFY(fs::exists(lzh.toStdString()));
    QCOMPARE(platform::GetPrivateProfileString("Form", "Folder", "", Ini()), out_.toStdString());
    // A click on the closed window's button does nothing.
    form.ButtonExec->click();
    QCOMPARE(LogLines(form).last(), QStringLiteral("一括処理を中止しました。"));
  }

  void RemovingRowsDuringARunDoesNothingButAddingIsProcessed() {
    TFormArc form(Ini());
    Prepare(form, QStringLiteral("notes.txt"));
    const QString lzh = Fixture("tree-lh5-l2.lzh");
    const QString zip = Fixture("tree-stored.zip");
    const QString tgz = Fixture("tree.tgz");
    form.AddFile(lzh.toStdString());
    form.AddFile(zip.toStdString());
    form.RadioOver->setChecked(true);
    TProgressSpy spy;
    spy.Install(form);
    QStringList during;
    bool removeEnabled = true, clearEnabled = true;
    spy.onFirst = [&] {
      form.ListFile->selectAll();
      QTest::keyClick(form.ListFile, Qt::Key_Delete);
      QTest::keyClick(form.ListFile, Qt::Key_D, Qt::ControlModifier);
      QTest::keyClick(form.ListFile, Qt::Key_G, Qt::ControlModifier);
      form.RemoveClick();
      form.ClearClick();
      form.PopupListPopup();
      removeEnabled = form.Remove->isEnabled();
      clearEnabled = form.Clear->isEnabled();
      during = Paths(form);
      form.AddFile(tgz.toStdString());
    };

    QTest::mouseClick(form.ButtonExec, Qt::LeftButton);

    QVERIFY(spy.calls > 0);
    QCOMPARE(during, QStringList({lzh, zip}));
    QVERIFY(!removeEnabled);
    QVERIFY(!clearEnabled);
    QCOMPARE(LogLines(form), QStringList({"-----" + lzh + "-----", QStringLiteral("　出力先: ") + out_,
                                          QStringLiteral("　解凍: notes.txt"), "-----" + zip + "-----",
                                          QStringLiteral("　出力先: ") + out_, QStringLiteral("　上書き: notes.txt"),
                                          "-----" + tgz + "-----", QStringLiteral("　出力先: ") + out_,
                                          QStringLiteral("　上書き: notes.txt")}));
    QVERIFY(Paths(form).isEmpty());
    // Idle again: the list commands work.
    form.AddFile(lzh.toStdString());
    form.ListFile->selectAll();
    form.PopupListPopup();
    QVERIFY(form.Remove->isEnabled());
    QVERIFY(form.Clear->isEnabled());
    form.RemoveClick();
    QVERIFY(Paths(form).isEmpty());
  }
};

QTEST_MAIN(RunTest)
#include "RunTest.moc"
