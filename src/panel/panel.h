#pragma once

// src/panel: the window as a model. Every control as a named value of its kind
// (here), and the window's design: places in twips, captions, fonts, tab order
// and the menu bar (layout.h). It knows no toolkit, no machine and no file.
//
// The controls of the main window as plain values. The loaders write into these,
// the writers read from them, and each view mirrors them into its widgets. Every
// text here is in the game's 8-bit code page, exactly as it goes to or comes
// from the game's files.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvik::panel {

// Colour numbers: red in the low byte, green in the second, blue in the third.
using ColorNumber = std::uint32_t;
inline constexpr ColorNumber kRed = 0x0000FF;
inline constexpr ColorNumber kYellow = 0x00FFFF;

struct TextBox {
    std::string Text;
};

// An editable drop-down box: a text field and a list. ListIndex is the selected
// position, -1 when the field holds text that is no entry of the list.
struct ComboBox {
    std::string Text;
    std::vector<std::string> List;
    int ListIndex = -1;

    void AddItem(std::string item) { List.push_back(std::move(item)); }
    // Selects an entry by position; a position outside the list changes nothing.
    void select(int position);
    // What typing does: the field takes the text, and the selection follows it.
    void setText(std::string text);
};

struct CheckBox {
    int Value = 0;  // 0 unchecked, 1 checked
};

struct Label {
    std::string Caption;
    ColorNumber ForeColor = kRed;
};

struct Button {
    std::string Caption;
};

// The web banner's area; its size is kept in twips like the designer's.
struct Banner {
    int Width = 6930;
    int Height = 900;
};

struct Panel {
    Panel();

    TextBox Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10, Text11, Text12,
        Text13, Text14, Text15, Text16, Text17, Text18, Text19, Text20, Text21, Text22;
    ComboBox Combo1, Combo2, Combo3, Combo4, Combo5, Combo6, Combo7, Combo8;
    CheckBox Check1, Check2, Check3, Check4, Check5, Check6, Check7, Check8, Check9, Check10,
        Check11;
    Label Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label11,
        Label12, Label13, Label14, Label15, Label16, Label17, Label18, Label19, Label20, Label21,
        Label22, Label23, Label24, Label25, Label26, Label27, Label28, Label29, Label30, Label31,
        Label32, Label33, Label34, Label35, Label36, Label37, Label38, Label39, Label40, Label41,
        Label42, Label43, Label44, Label45, Label46, Label47;
    Button Command1, Command2;
    Banner Scriptlet1;

    // Lookup by control name, for the view and for tests; nullptr for an unknown name.
    TextBox* textBox(std::string_view name);
    ComboBox* comboBox(std::string_view name);
    CheckBox* checkBox(std::string_view name);
    Label* label(std::string_view name);
    Button* button(std::string_view name);
};

template <typename Control>
struct Named {
    std::string_view name;
    Control Panel::*member;
};

extern const std::array<Named<TextBox>, 22> kTextBoxes;
extern const std::array<Named<ComboBox>, 8> kComboBoxes;
extern const std::array<Named<CheckBox>, 11> kCheckBoxes;
extern const std::array<Named<Label>, 47> kLabels;
extern const std::array<Named<Button>, 2> kButtons;

}  // namespace quorvik::panel
