#include "app/FormBuilder.h"

#include "app/ResPictures.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/core/SUIButton.h"

namespace {

TWinControl* ParentOf(TForm* Form, const TControlRow& Row) {
    if (Row.Parent == nullptr) return Form;
    auto* parent = dynamic_cast<TWinControl*>(Form->FindComponent(Row.Parent));
    return parent != nullptr ? parent : Form;
}

void LoadButtonArt(TsuiImageButton* Button, const String& Art, TArtSource Source) {
    if (Source == TArtSource::kCompiled) {
        LoadCompiledButton(Button, Art);
    } else {
        LoadResButton(Button, Art);
    }
}

void LoadImageArt(TImage* Image, const String& Art, TArtSource Source) {
    if (Source == TArtSource::kCompiled) {
        LoadCompiledPicture(Image->GetPicture(), Art);
    } else {
        LoadResPicture(Image->GetPicture(), Art);
    }
}

// A row's text is a caption, except on the controls that show artwork instead, and a group
// box's caption is its own.
void ShowText(TControl* Control, const String& Text, TArtSource Art) {
    if (auto* button = dynamic_cast<TsuiImageButton*>(Control)) {
        if (!Text.empty()) LoadButtonArt(button, Text, Art);
    } else if (auto* image = dynamic_cast<TImage*>(Control)) {
        if (!Text.empty()) LoadImageArt(image, Text, Art);
    } else if (auto* group = dynamic_cast<TsuiGroupBox*>(Control)) {
        // A group box draws its caption in the gap of its frame, apart from its window text.
        if (!Text.empty()) group->SetCaption(Text);
    } else {
        Control->SetText(Text);
    }
}

// A label sizes itself to its caption; any other control takes the row's size, 0 included (a bar
// that starts empty).
void PlaceBounds(TControl* Control, const TControlRow& Row) {
    const bool sizesItself = dynamic_cast<TLabel*>(Control) != nullptr;
    const int width = sizesItself && Row.Width == 0 ? Control->GetWidth() : Row.Width;
    const int height = sizesItself && Row.Height == 0 ? Control->GetHeight() : Row.Height;
    Control->SetBounds(Row.Left, Row.Top, width, height);
}

}  // namespace

void BuildControls(TForm* Form, std::span<const TControlRow> Rows, TArtSource Art, TButtonCursor Cursor) {
    for (const TControlRow& row : Rows) {
        TControl* control = row.Make(Form);
        control->SetName(row.Name);
        control->SetParent(ParentOf(Form, row));
        if (auto* label = dynamic_cast<TLabel*>(control)) label->SetTransparent(true);
        if (Cursor == TButtonCursor::kHand && dynamic_cast<TsuiImageButton*>(control) != nullptr)
            control->SetCursor(crHandPoint);
        ShowText(control, row.Text, Art);
        PlaceBounds(control, row);
        if (row.Keep != nullptr) row.Keep(Form, control);
    }
}
