// One keystroke in the real window, from the key event to Label1 updated,
// with every other figure already entered; offscreen.

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include "message_presenter.h"
#include <QLabel>
#include <QLineEdit>

#include "form1_window.h"
#include "selector_box.h"
#include "picture_button.h"

using namespace kvorn;

namespace {

class SilentPresenter : public MessagePresenter {
public:
    void ShowMessage(std::string_view) override {}
    void ShowError(std::string_view) override {}
};

void Keystroke(benchmark::State& state)
{
    SilentPresenter presenter;
    Form1Window form(presenter);
    form.SetSeparatorSource([] { return U','; });
    const QStringList figures = {"300", "2000", "14,5", "35", "0,5", "100", "400"};
    QLineEdit* edits[] = {form.Edit1, form.Edit2, form.Edit3, form.Edit4, form.Edit5, form.Edit6, form.Edit7};
    for (int i = 0; i < 7; ++i)
        edits[i]->setText(figures[i]);
    form.ComboBox1->setCurrentIndex(6);
    emit form.ComboBox1->activated(6);
    form.ComboBox2->setCurrentIndex(2);
    emit form.ComboBox2->activated(2);
    form.Edit1->setFocus();
    form.Edit1->end(false);

    // Alternately type a digit and take it back: each is one recomputation.
    QKeyEvent digit(QEvent::KeyPress, Qt::Key_0, Qt::NoModifier, QStringLiteral("0"));
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    bool typed = false;
    for (auto _ : state) {
        QApplication::sendEvent(form.Edit1, typed ? &backspace : &digit);
        typed = !typed;
    }
    if (form.Label1->text().isEmpty())
        state.SkipWithError("no score was shown");
}
BENCHMARK(Keystroke);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
