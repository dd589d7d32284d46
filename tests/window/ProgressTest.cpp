// The progress bar fed by the archiver's progress messages.
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/window/FormArc.h"
#include "archiver/Archiver.h"
#include "platform/winmsg.h"

using quillaby::TFormArc;

class ProgressTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::string Ini() const { return dir_.filePath(QStringLiteral("q.ini")).toStdString(); }

 private slots:
  void PositionIsTheTruncatedPercentage() {
    TFormArc form(Ini());
    const struct {
      bool hasRecord;
      std::uint32_t size, written;
      int position;
    } cases[] = {
        {false, 0, 0, 0},
        {true, 0, 500, 0},
        {true, 4000000, 1000000, 25},
        {true, 4000000, 2999999, 74},
        {true, 100, 29, 28},
        {true, 100, 100, 100},
        {true, 100, 250, 100},
        {true, 1, 0xFFFFFFFFu, 100},
        {true, 0xFFFFFFFFu, 0xFFFFFFFEu, 99},
    };
    for (const auto& c : cases) {
      form.ProgressBar->setValue(50);
      ARC_PROGRESS record{};
      record.dwFileSize = c.size;
      record.dwWriteSize = c.written;
      QVERIFY(form.ArchiverProgress(c.hasRecord ? &record : nullptr));
      QCOMPARE(form.ProgressBar->value(), c.position);
    }
  }

  void ProgressMessagesReachTheBarAndLetEventsRun() {
    TFormArc form(Ini());
    ArchiverN::TArchiver* archiver = form.Archiver();
    QVERIFY(archiver != nullptr);
    bool pendingRan = false;
    QTimer::singleShot(0, this, [&pendingRan] { pendingRan = true; });
    ARC_PROGRESS record{};
    record.dwFileSize = 200;
    record.dwWriteSize = 150;
    platform::LRESULT answer = platform::SendMessage(archiver->MessageWindow, archiver->MessageId, ARC_STATE_INPROCESS,
                                                     reinterpret_cast<platform::LPARAM>(&record));
    QCOMPARE(answer, platform::LRESULT(0));
    QCOMPARE(form.ProgressBar->value(), 75);
    QVERIFY(pendingRan);
  }
};

QTEST_MAIN(ProgressTest)
#include "ProgressTest.moc"
