// The window at start-up and its settings file.
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "WindowTestSupport.h"
#include "app/window/FormArc.h"
#include "app/window/RadioGroup.h"
#include "platform/profile.h"

using quillaby::TFormArc;
using windowtest::OnNextModal;
using windowtest::ReadText;
using windowtest::WriteText;

namespace {

std::string Setting(const std::string& file, const char* key) {
  return platform::GetPrivateProfileString("Form", key, "<missing>", file);
}

// The keys of the [Form] section in file order.
QStringList FormKeys(const std::string& file) {
  QStringList keys;
  bool inForm = false;
  for (const QString& line : QString::fromStdString(ReadText(file)).split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1Char('['))) {
      inForm = line == QLatin1String("[Form]");
      continue;
    }
    if (inForm && line.contains(QLatin1Char('='))) keys << line.section(QLatin1Char('='), 0, 0);
  }
  return keys;
}

}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::string Ini(const char* name) { return dir_.filePath(QString::fromLatin1(name)).toStdString(); }

 private slots:
  void StartsWithDefaultsWithoutASettingsFile() {
    TFormArc form(Ini("none.ini"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Quillaby"));
    QCOMPARE(form.pos(), QPoint(100, 100));
    QCOMPARE(form.size(), QSize(426, 438));
    QVERIFY(form.GroupAfter->Item(0)->isChecked());
    QCOMPARE(form.GroupAfter->ItemIndex(), 0);
    QVERIFY(form.RadioSkip->isChecked());
    QVERIFY(form.RadioSame->isChecked());
    QCOMPARE(form.EditFolder->text(), QStringLiteral("/"));
    QCOMPARE(form.EditRename->text(), QStringLiteral("%a"));
    QCOMPARE(form.EditMask->text(), QStringLiteral("*.*"));
    QVERIFY(!form.EditRename->isEnabled());
    QVERIFY(!form.EditFolder->isEnabled());
    QVERIFY(!form.ButtonFolder->isEnabled());
    QCOMPARE(form.Tab->currentWidget(), form.TabList);
    QCOMPARE(form.ButtonExec->text(), QStringLiteral("一括解凍"));
    QVERIFY(form.Log->isReadOnly());
    QCOMPARE(form.ProgressBar->minimum(), 0);
    QCOMPARE(form.ProgressBar->maximum(), 100);
    QCOMPARE(form.ProgressBar->value(), 0);
    QVERIFY(form.InitialDir.empty());
  }

  void LooksAsDesigned() {
    TFormArc form(Ini("none.ini"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form.Tab->height(), 313);
    QCOMPARE(form.ProgressBar->height(), 8);
    QCOMPARE(form.Panel1->height(), 49);
    QCOMPARE(form.Tab->tabText(0), QStringLiteral("ファイル"));
    QCOMPARE(form.Tab->tabText(1), QStringLiteral("設定"));
    QCOMPARE(form.font().pixelSize(), 12);
    // Every caption renders with real glyphs of the window's font.
    QFontMetrics metrics(form.font());
    const QList<QWidget*> captioned = {form.ButtonExec, form.LabelMask, form.RadioSame, form.RadioFolder,
                                        form.ButtonFolder, form.RadioOver, form.RadioSkip, form.RadioRename,
                                        form.LabelRename1, form.LabelRename3, form.LabelRename4};
    for (QWidget* w : captioned) {
      QString text = w->property("text").toString();
      for (QChar c : text) QVERIFY2(metrics.inFont(c), qPrintable(w->objectName() + QLatin1String(": ") + c));
    }
    // Object names are the design's.
    for (const char* name : {"Tab", "TabList", "TabConfig", "Splitter1", "Log", "ProgressBar", "Panel1", "ButtonExec",
                             "LabelMask", "EditMask", "ListFile", "Panel2", "GroupFolder", "RadioSame", "RadioFolder",
                             "EditFolder", "ButtonFolder", "GroupExist", "RadioOver", "RadioSkip", "RadioRename",
                             "EditRename", "LabelRename1", "LabelRename2", "LabelRename3", "LabelRename4",
                             "GroupAfter", "PopupList", "OpenDialog"})
      QVERIFY2(form.findChild<QObject*>(QString::fromLatin1(name)) != nullptr, name);
  }

  void AppliesAndWritesBackSettingValues() {
    struct Case {
      const char* lines;
      std::function<bool(TFormArc&)> applied;
      const char* key;
      const char* written;
    };
    const Case cases[] = {
        {"FolderType=1", [](TFormArc& f) {
           return f.RadioFolder->isChecked() && f.EditFolder->isEnabled() && f.ButtonFolder->isEnabled();
         }, "FolderType", "1"},
        {"FolderType=3", [](TFormArc& f) { return f.RadioSame->isChecked() && !f.EditFolder->isEnabled(); },
         "FolderType", "0"},
        {"Exist=2", [](TFormArc& f) { return f.RadioRename->isChecked() && f.EditRename->isEnabled(); }, "Exist",
         "2"},
        {"Exist=0", [](TFormArc& f) { return f.RadioOver->isChecked() && !f.EditRename->isEnabled(); }, "Exist", "0"},
        {"Exist=7", [](TFormArc& f) { return f.RadioSkip->isChecked() && !f.EditRename->isEnabled(); }, "Exist", "1"},
        {"After=5", [](TFormArc& f) { return f.GroupAfter->ItemIndex() == 1; }, "After", "1"},
        {"After=-3", [](TFormArc& f) {
           return f.GroupAfter->ItemIndex() == -1 && !f.GroupAfter->Item(0)->isChecked() &&
                  !f.GroupAfter->Item(1)->isChecked();
         }, "After", "-1"},
        {"After=1x", [](TFormArc& f) { return f.GroupAfter->ItemIndex() == 0; }, "After", "0"},
        {"Top= 40 \nLeft=+50", [](TFormArc& f) { return f.pos() == QPoint(50, 40); }, "Top", "40"},
        {"Top=\nLeft=-20", [](TFormArc& f) { return f.pos() == QPoint(-20, 100); }, "Left", "-20"},
        {"Folder=\"/データ/出力 \"", [](TFormArc& f) { return f.EditFolder->text() == QStringLiteral("/データ/出力 "); },
         "Folder", "/データ/出力 "},
        {"Rename=%a_%n", [](TFormArc& f) { return f.EditRename->text() == QStringLiteral("%a_%n"); }, "Rename",
         "%a_%n"},
        {"SrcFolder=/srv/in", [](TFormArc& f) { return f.InitialDir == "/srv/in"; }, "SrcFolder", "/srv/in"},
    };
    int n = 0;
    for (const Case& c : cases) {
      std::string ini = Ini(("case" + std::to_string(n++) + ".ini").c_str());
      WriteText(ini, std::string("[Form]\n") + c.lines + "\n");
      TFormArc form(ini);
      QVERIFY2(c.applied(form), c.lines);
      QVERIFY2(form.close(), c.lines);
      QCOMPARE(Setting(ini, c.key), std::string(c.written));
    }
  }

  void ShowsALongMaskWholeButLimitsTyping() {
    std::string ini = Ini("mask.ini");
    QString longMask;
    for (int i = 0; i < 70; ++i) longMask += QStringLiteral("*.e%1,").arg(i);
    QVERIFY(longMask.size() > 256);
    WriteText(ini, "[Form]\nMask=" + longMask.toStdString() + "\n");
    TFormArc form(ini);
    QCOMPARE(form.EditMask->text(), longMask);
    form.EditMask->setFocus();
    form.EditMask->end(false);
    QTest::keyClick(form.EditMask, Qt::Key_X);
    QCOMPARE(form.EditMask->text(), longMask);
    QTest::keyClick(form.EditMask, Qt::Key_Backspace);
    QCOMPARE(form.EditMask->text(), longMask.chopped(1));
    QVERIFY(form.close());
    QCOMPARE(Setting(ini, "Mask"), longMask.chopped(1).toStdString());

    TFormArc fresh(Ini("fresh.ini"));
    fresh.EditMask->clear();
    QTest::keyClicks(fresh.EditMask, QString(300, QLatin1Char('a')));
    QCOMPARE(fresh.EditMask->text().size(), 256);
  }

  void RoundTripKeepsTheRestOfTheFile() {
    std::string ini = Ini("round.ini");
    WriteText(ini, "; kept comment\n[Other]\nName=value\n[Form]\nMask=*.lzh\nExtra=kept\n");
    {
      TFormArc form(ini);
      QCOMPARE(form.EditMask->text(), QStringLiteral("*.lzh"));
      form.move(30, 40);
      form.RadioFolder->setChecked(true);
      form.EditFolder->setText(QStringLiteral("/out/出力"));
      form.RadioRename->setChecked(true);
      form.EditRename->setText(QStringLiteral("%f-%n"));
      form.GroupAfter->SetItemIndex(1);
      form.EditMask->setText(QStringLiteral("*.txt, *.doc"));
      form.InitialDir = "/srv/archives";
      QVERIFY(form.close());
      QCOMPARE(form.Archiver(), nullptr);
    }
    const std::string text = ReadText(ini);
    QVERIFY(text.rfind("; kept comment\n[Other]\nName=value\n[Form]\n", 0) == 0);
    QCOMPARE(FormKeys(ini), QStringList({"Mask", "Extra", "Top", "Left", "After", "Exist", "FolderType", "Folder",
                                         "Rename", "SrcFolder"}));
    QCOMPARE(Setting(ini, "Extra"), std::string("kept"));

    TFormArc again(ini);
    QCOMPARE(again.pos(), QPoint(30, 40));
    QVERIFY(again.RadioFolder->isChecked());
    QVERIFY(again.EditFolder->isEnabled());
    QCOMPARE(again.EditFolder->text(), QStringLiteral("/out/出力"));
    QVERIFY(again.RadioRename->isChecked());
    QVERIFY(again.EditRename->isEnabled());
    QCOMPARE(again.EditRename->text(), QStringLiteral("%f-%n"));
    QCOMPARE(again.GroupAfter->ItemIndex(), 1);
    QCOMPARE(again.EditMask->text(), QStringLiteral("*.txt, *.doc"));
    QCOMPARE(again.InitialDir, std::string("/srv/archives"));
  }

  void WriteFailureNamesTheFileAndKeepsTheWindowUsable() {
    std::string ini = Ini("missing-folder/q.ini");
    TFormArc form(ini);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QString shown;
    auto seen = OnNextModal([&shown](QDialog* d) {
      if (auto* box = qobject_cast<QMessageBox*>(d)) shown = box->text();
      d->accept();
    });
    QVERIFY(!form.close());
    QVERIFY(*seen);
    QVERIFY2(shown.contains(QString::fromStdString(ini)), qPrintable(shown));
    QVERIFY(form.isVisible());
    QVERIFY(form.Archiver() != nullptr);
    // Still usable: a run over an empty list starts and ends.
    form.ButtonExec->click();
    QCOMPARE(form.ButtonExec->text(), QStringLiteral("一括解凍"));
    QVERIFY(!form.Running());
    // Once the file can be written, closing works.
    std::filesystem::create_directories(std::filesystem::path(ini).parent_path());
    QVERIFY(form.close());
    QCOMPARE(Setting(ini, "Mask"), std::string("*.*"));
  }

  void FolderBrowserSetsTheFolderOrChangesNothing() {
    TFormArc form(Ini("browse.ini"));
    QTemporaryDir before, chosen;
    form.RadioFolder->setChecked(true);
    form.EditFolder->setText(before.path());
    QString title, startDir;
    bool foldersOnly = false;
    auto seen = OnNextModal([&](QDialog* d) {
      auto* fd = qobject_cast<QFileDialog*>(d);
      title = d->windowTitle();
      foldersOnly = fd && fd->fileMode() == QFileDialog::Directory && fd->testOption(QFileDialog::ShowDirsOnly);
      startDir = fd ? fd->directory().absolutePath() : QString();
      d->reject();
    });
    form.ButtonFolder->click();
    QVERIFY(*seen);
    QCOMPARE(title, QStringLiteral("出力フォルダ"));
    QVERIFY(foldersOnly);
    // The chooser does not start at the folder already set.
    QVERIFY(startDir != before.path());
    QCOMPARE(form.EditFolder->text(), before.path());

    seen = OnNextModal([&](QDialog* d) {
      auto* fd = qobject_cast<QFileDialog*>(d);
      fd->setDirectory(chosen.path());
      windowtest::TypeFileName(fd, chosen.path());
      d->accept();
    });
    form.ButtonFolder->click();
    QVERIFY(*seen);
    QCOMPARE(form.EditFolder->text(), chosen.path());
  }
};

QTEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
