#pragma once

#include <QElapsedTimer>
#include <QProgressBar>

class QLabel;

// The progress of a long run: a bar with count and total ("120 von 400") beside the
// dialog's progress label, which names the item being worked on. A step shows itself
// and lets pending events through at most every 40 ms, so the window stays responsive
// (repaints, "&Abbruch", closing) while a run over 100,000 items hardly slows down.
// Between runs the bar is hidden and keeps its place in the layout.
class WFortschritt : public QProgressBar
{
    Q_OBJECT

public:
    // Without a label only the bar shows.
    explicit WFortschritt(QLabel *label = nullptr, QWidget *parent = nullptr);

    // A run over `gesamt` items begins.
    void start(int gesamt);
    // Item `nr` (from 1) is being worked on; `text` is for the label.
    void schritt(int nr, const QString &text = QString());
    // The run is over: the bar hides, the label is cleared.
    void ende();

private:
    QLabel *m_label;
    QElapsedTimer m_seitAnzeige;
};
