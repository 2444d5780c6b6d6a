// A row pasted into the window from arbitrary clipboard text: at most one
// box, and either nothing changes or every field holds what typing could
// have put there and one result is shown.

#include <cstdint>
#include <map>
#include <string>

#include "form_description.h"
#include "invariants.h"
#include "tform1.h"
#include "text.h"

namespace {

class View : public kvorn::FormView {
public:
    std::map<kvorn::Control, std::string> texts;
    std::string clipboard;
    int boxes = 0, results = 0;
    std::string Text(kvorn::Control control) const override
    {
        const auto found = texts.find(control);
        return found == texts.end() ? std::string() : found->second;
    }
    void SetText(kvorn::Control control, std::string_view text) override
    {
        texts[control] = text;
        results += control == kvorn::Control::Label1;
    }
    void Focus(kvorn::Control) override {}
    void ShowMessage(std::string_view) override { ++boxes; }
    void ShowError(std::string_view) override { ++boxes; }
    void Close() override {}
    std::string ClipboardText() const override { return clipboard; }
    void SetClipboardText(std::string_view text) override { clipboard = text; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using kvorn::Control;
    View view;
    kvorn::TForm1 form(view);
    form.SetSeparator(size % 2 ? U',' : U'.');
    view.texts = {{Control::ComboBox1, "Шлюп"}, {Control::Edit1, "7"}, {Control::Label1, "1.00"}};
    const auto before = view.texts;
    view.clipboard.assign(reinterpret_cast<const char*>(data), size);
    form.Run(kvorn::WindowCommand::PasteRow);
    if (view.boxes > 1)
        fuzz::Broken("more than one box", view.clipboard);
    if (view.boxes == 1 && view.texts != before)
        fuzz::Broken("a refused row changed the window", view.clipboard);
    if (view.boxes == 0) {
        if (view.results != 1)
            fuzz::Broken("a pasted row is not one result", view.clipboard);
        for (const kvorn::ControlDescription& d : kvorn::Form1Controls) {
            if (d.Kind != kvorn::ControlKind::Edit)
                continue;
            const std::string& text = view.texts[d.Id];
            if (text.empty() || kvorn::CountCharacters(text) > std::size_t(d.MaxLength))
                fuzz::Broken("a field's length", text);
            for (char c : text)
                if (!(c >= '0' && c <= '9') && c != char(form.Separator()))
                    fuzz::Broken("a character typing could not put there", text);
        }
    }
    return 0;
}
