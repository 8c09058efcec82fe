#pragma once

#include <array>
#include <optional>
#include <string>

#include "Handles.h"
#include "Win32Api.h"

namespace quorrel::win32 {

// What the two path fields do beyond an ordinary edit control. Each shows a hint while it is
// empty and a tooltip with the file it holds and its whole path. While a field does not have the
// focus it shows the end of its path, the file's name, which a long path would push out of sight;
// the caret and selection it had come back with the focus. Each field's text is kept from one
// change of it to the next, for a load that reads the data file's path for every record.
class PathFields {
  public:
    // Names the fields for their hints and tooltips; `owner` is their window, which gets the
    // tooltip's notifications. Throws std::runtime_error when Windows refuses the tooltip.
    PathFields(HWND owner, std::array<HWND, 2> fields, std::array<std::wstring, 2> names);

    // Handles a field's notification (WM_COMMAND from it): focus coming or going, text changed.
    void onFieldCommand(HWND field, WORD code);

    // The field's whole text, in UTF-8, as it stands. Reading a control's text costs tens of
    // microseconds under Wine, so it is read once after each change (EN_CHANGE) rather than on
    // every call.
    const std::string& text(HWND field) const;

    // Answers the tooltip's question for its text (TTN_GETDISPINFOW); other notifications are
    // left alone.
    void onNotify(NMHDR& header);

    // Brings the end of each field without the focus into view, after the fields were laid out.
    void showEnds();

    // How wide the tooltip may grow before it wraps the path, in pixels.
    void setTooltipWidth(int pixels);

  private:
    struct Field {
        HWND window;
        std::wstring name;
        DWORD selectionStart = 0;
        DWORD selectionEnd = 0;
        bool selectionKept = false;
        mutable std::optional<std::string> text{};
    };

    const Field* find(HWND window) const;
    Field* find(HWND window);
    static void showEnd(Field& field);

    std::array<Field, 2> fields_;
    WindowHandle tooltip_;
    std::wstring tooltipText_;
};

}  // namespace quorrel::win32
