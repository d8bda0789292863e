// A form's controls from a constant table: each row places one control of a type, with its name,
// parent and bounds, and its caption or picture. The form sets what a row does not say (styles,
// ranges, fonts) and wires its handlers in one place after the table is built.
#pragma once

#include <span>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

struct TControlRow {
    TControl* (*Make)(TComponent* Owner);
    // Stores the built control in the form's field; nullptr for a control the form never names.
    void (*Keep)(TComponent* Form, TControl* Control);
    const char* Name;
    int Left, Top, Width, Height;  // a label's width or height of 0 keeps the size it takes
    // A caption (a group box's drawn one); for a picture button or an image, the name of its
    // artwork.
    const char* Text;
    // The name of a control of an earlier row; nullptr for the form itself.
    const char* Parent;
};

namespace form_rows {

template <class Member>
struct TFieldOf;
template <class Form, class Control>
struct TFieldOf<Control* Form::*> {
    using TForm = Form;
    using TControl = Control;
};

template <class Control>
::TControl* Make(TComponent* Owner) {
    return new Control(Owner);
}

template <auto Field>
void Keep(TComponent* Form, ::TControl* Control) {
    using TField = TFieldOf<decltype(Field)>;
    static_cast<typename TField::TForm*>(Form)->*Field = static_cast<typename TField::TControl*>(Control);
}

}  // namespace form_rows

// A row whose control the form keeps in Field (`&TMyForm::Label1`); the field's type is the
// control's type.
template <auto Field>
constexpr TControlRow Place(const char* Name, int Left, int Top, int Width, int Height, const char* Text = "",
                            const char* Parent = nullptr) {
    using TControlType = typename form_rows::TFieldOf<decltype(Field)>::TControl;
    return {&form_rows::Make<TControlType>, &form_rows::Keep<Field>, Name, Left, Top, Width, Height, Text, Parent};
}

// A row for a control the form never names again (a caption beside another control, say).
template <class TControlType>
constexpr TControlRow PlaceUnnamed(const char* Name, int Left, int Top, int Width, int Height,
                                   const char* Text = "", const char* Parent = nullptr) {
    return {&form_rows::Make<TControlType>, nullptr, Name, Left, Top, Width, Height, Text, Parent};
}

// Where the artwork of picture buttons and images comes from: pictures compiled into the program
// (a button's states are NAME, NAMEON and NAMEDOWN) or files of the RES folder (base.bmp,
// base_on.bmp, base_down.bmp and base_dis.bmp; an image names its whole file).
enum class TArtSource { kCompiled, kResFolder };

// The pointer over a form's picture buttons: the hand on the forms that are mostly buttons.
enum class TButtonCursor { kDefault, kHand };

// Builds the rows in order, owned by Form. Labels are see-through, as every form draws its own
// background under them.
void BuildControls(TForm* Form, std::span<const TControlRow> Rows, TArtSource Art = TArtSource::kCompiled,
                   TButtonCursor Cursor = TButtonCursor::kDefault);
