// The archive list: adding, sizes, removing, clearing, the popup, the keys,
// the open dialog and drops.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "WindowTestSupport.h"
#include "app/window/FormArc.h"

using quillaby::TFormArc;
using windowtest::OnNextModal;
using windowtest::WriteText;

namespace {

QStringList Column(const QTableWidget* list, int column) {
  QStringList values;
  for (int r = 0; r < list->rowCount(); ++r) values << list->item(r, column)->text();
  return values;
}

void SelectRows(QTableWidget* list, std::initializer_list<int> rows) {
  list->clearSelection();
  for (int r : rows)
    list->selectionModel()->select(list->model()->index(r, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// Sends a drag entering the window and then the drop; answers whether the
// window took the drag.
bool Drop(TFormArc& form, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &drop);
  return drop.isAccepted();
}

}  // namespace

class ListTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString Path(const QString& name) const { return dir_.filePath(name); }
  std::string Ini() const { return Path(QStringLiteral("q.ini")).toStdString(); }
  QString File(const QString& name, const std::string& text = "data") const {
    WriteText(Path(name).toStdString(), text);
    return Path(name);
  }
  void AddRows(TFormArc& form, int n) {
    for (int i = 0; i < n; ++i) form.AddFile(File(QStringLiteral("row%1.lzh").arg(i)).toStdString());
  }

 private slots:
  void AddsNameSizeAndWholePath() {
    TFormArc form(Ini());
    const QString file = File(QStringLiteral("アーカイブ.lzh"), std::string(1234, 'x'));
    const QString longName = QString(120, QLatin1Char('n')) + QStringLiteral(".zip");
    const QString deep = Path(QString(80, QLatin1Char('d')) + QLatin1Char('/') + QString(80, QLatin1Char('e')) +
                              QLatin1Char('/') + longName);
    WriteText(deep.toStdString(), "z");
    QVERIFY(deep.toUtf8().size() > 275);
    const QString missing = Path(QStringLiteral("gone.rar"));
    form.AddFile(file.toStdString());
    form.AddFile(deep.toStdString());
    form.AddFile(missing.toStdString());
    form.AddFile(dir_.path().toStdString());
    form.AddFile(file.toStdString());
    QCOMPARE(Column(form.ListFile, 0),
             QStringList({QStringLiteral("アーカイブ.lzh"), longName, QStringLiteral("gone.rar"),
                          QFileInfo(dir_.path()).fileName(), QStringLiteral("アーカイブ.lzh")}));
    QCOMPARE(Column(form.ListFile, 1), QStringList({"1234", "1", "0", "0", "1234"}));
    QCOMPARE(Column(form.ListFile, 2), QStringList({file, deep, missing, dir_.path(), file}));
    QCOMPARE(form.RowFullPath(1), deep.toStdString());
    QVERIFY(form.ListFile->item(0, 1)->textAlignment() & Qt::AlignRight);
    QVERIFY(!(form.ListFile->item(0, 0)->flags() & Qt::ItemIsEditable));
  }

  void SizesAreTheLow32BitsSigned() {
    TFormArc form(Ini());
    const struct {
      const char* name;
      std::uintmax_t size;
      const char* shown;
    } cases[] = {
        {"3g.lzh", 3ull << 30, "-1073741824"},
        {"5g.lzh", 5ull << 30, "1073741824"},
        {"4g.lzh", 4ull << 30, "0"},
        {"2g.lzh", (2ull << 30) - 1, "2147483647"},
    };
    for (const auto& c : cases) {
      const QString p = File(QString::fromLatin1(c.name), "");
      std::filesystem::resize_file(p.toStdString(), c.size);
      form.AddFile(p.toStdString());
      QCOMPARE(form.ListFile->item(form.ListFile->rowCount() - 1, 1)->text(), QString::fromLatin1(c.shown));
      std::filesystem::remove(p.toStdString());
    }
  }

  void RemovesSelectedRowsAndClears() {
    TFormArc form(Ini());
    AddRows(form, 4);
    form.RemoveClick();
    QCOMPARE(form.ListFile->rowCount(), 4);
    SelectRows(form.ListFile, {0, 2});
    form.RemoveClick();
    QCOMPARE(Column(form.ListFile, 0), QStringList({"row1.lzh", "row3.lzh"}));
    form.ClearClick();
    QCOMPARE(form.ListFile->rowCount(), 0);
  }

  void PopupEnablesRemoveOnlyWithASelection() {
    TFormArc form(Ini());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.PopupList->actions(), QList<QAction*>({form.File, form.N1, form.Remove, form.Clear}));
    QCOMPARE(form.File->text(), QStringLiteral("ファイル登録"));
    QVERIFY(form.N1->isSeparator());
    QCOMPARE(form.Remove->text(), QStringLiteral("選択中のファイルを除外"));
    QCOMPARE(form.Clear->text(), QStringLiteral("リストクリア"));
    AddRows(form, 2);
    for (bool selected : {false, true, false}) {
      if (selected) SelectRows(form.ListFile, {1});
      else form.ListFile->clearSelection();
      form.PopupList->popup(form.mapToGlobal(QPoint(30, 30)));
      QCOMPARE(form.Remove->isEnabled(), selected);
      QVERIFY(form.File->isEnabled());
      QVERIFY(form.Clear->isEnabled());
      form.PopupList->hide();
    }
    // The list's own context-menu request opens it.
    emit form.ListFile->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(form.PopupList->isVisible());
    form.PopupList->hide();
  }

  void KeysRunTheListCommands() {
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      std::initializer_list<int> selected;
      QStringList after;
    } cases[] = {
        {Qt::Key_Delete, Qt::NoModifier, {}, {"row0.lzh", "row1.lzh", "row2.lzh"}},
        {Qt::Key_Delete, Qt::NoModifier, {0, 2}, {"row1.lzh"}},
        {Qt::Key_Delete, Qt::ControlModifier, {1}, {"row0.lzh", "row2.lzh"}},
        {Qt::Key_D, Qt::ControlModifier, {0}, {"row1.lzh", "row2.lzh"}},
        {Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, {2}, {"row0.lzh", "row1.lzh"}},
        {Qt::Key_D, Qt::NoModifier, {0}, {"row0.lzh", "row1.lzh", "row2.lzh"}},
        {Qt::Key_G, Qt::ControlModifier, {}, {}},
        {Qt::Key_G, Qt::ShiftModifier, {}, {"row0.lzh", "row1.lzh", "row2.lzh"}},
        {Qt::Key_X, Qt::ControlModifier, {0}, {"row0.lzh", "row1.lzh", "row2.lzh"}},
    };
    for (const auto& c : cases) {
      TFormArc form(Ini());
      AddRows(form, 3);
      SelectRows(form.ListFile, c.selected);
      QTest::keyClick(form.ListFile, c.key, c.modifiers);
      QCOMPARE(Column(form.ListFile, 0), c.after);
    }
  }

  void OpenDialogAddsTheChosenFilesAndRemembersTheirFolder() {
    TFormArc form(Ini());
    QTemporaryDir src;
    for (const char* n : {"a.lzh", "b.zip", "c.txt"}) WriteText(src.filePath(QString::fromLatin1(n)).toStdString(), "x");
    form.InitialDir = src.path().toStdString();

    QStringList filters;
    QString activeFilter, startDir;
    auto seen = OnNextModal([&](QDialog* d) {
      auto* fd = qobject_cast<QFileDialog*>(d);
      filters = fd->nameFilters();
      activeFilter = fd->selectedNameFilter();
      startDir = fd->directory().absolutePath();
      QVERIFY(fd->fileMode() == QFileDialog::ExistingFiles);
      windowtest::TypeFileName(fd, QStringLiteral("\"b.zip\" \"a.lzh\""));
      d->accept();
    });
    QTest::keyClick(form.ListFile, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(*seen);
    QCOMPARE(filters.size(), 2);
    QCOMPARE(filters[0],
             QStringLiteral("アーカイブ (*.lzh *.zip *.cab *.tar *.tgz *.gz *.bz2 *.rar *.arj *.gza *.bza *.gca *.yz1 *.7z)"));
    QCOMPARE(filters[1], QStringLiteral("全てのファイル (*)"));
    QCOMPARE(activeFilter, filters[0]);
    QCOMPARE(startDir, src.path());
    QCOMPARE(Column(form.ListFile, 2), QStringList({src.filePath("b.zip"), src.filePath("a.lzh")}));

    // Cancelling adds nothing and keeps the folder.
    form.InitialDir = "/";
    seen = OnNextModal([](QDialog* d) { d->reject(); });
    form.File->trigger();
    QVERIFY(*seen);
    QCOMPARE(form.ListFile->rowCount(), 2);
    QCOMPARE(form.InitialDir, std::string("/"));
  }

  void DropsAddOneRowPerItemInOrder() {
    TFormArc form(Ini());
    const QString a = File(QStringLiteral("one.lzh"), "1");
    const QString b = File(QStringLiteral("two words.zip"), "22");
    const QString c = File(QStringLiteral("三.7z"), "333");
    QVERIFY(Drop(form, {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b), QUrl::fromLocalFile(c)}));
    QCOMPARE(Column(form.ListFile, 2), QStringList({a, b, c}));
    QCOMPARE(Column(form.ListFile, 1), QStringList({"1", "2", "3"}));

    QDir().mkpath(Path(QStringLiteral("folder.d")));
    QVERIFY(Drop(form, {QUrl::fromLocalFile(Path(QStringLiteral("folder.d/")))}));
    QCOMPARE(form.ListFile->item(3, 0)->text(), QStringLiteral("folder.d"));
    QCOMPARE(form.ListFile->item(3, 1)->text(), QStringLiteral("0"));
    QCOMPARE(form.ListFile->item(3, 2)->text(), Path(QStringLiteral("folder.d")));

    // Only local files are taken.
    QVERIFY(!Drop(form, {QUrl(QStringLiteral("https://example.org/a.zip"))}));
    QCOMPARE(form.ListFile->rowCount(), 4);

    // No control of the window takes a drop for itself, so a drop anywhere
    // on it reaches the list.
    for (QWidget* w : form.findChildren<QWidget*>())
      if (w->window() == &form) QVERIFY2(!w->acceptDrops(), qPrintable(w->objectName()));
    QVERIFY(form.acceptDrops());
  }
};

QTEST_MAIN(ListTest)
#include "ListTest.moc"
