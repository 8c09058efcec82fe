#include "PathFields.h"

#include <stdexcept>
#include <utility>

#include "TooltipWindow.h"
#include "WindowText.h"

namespace quorrel::win32 {

PathFields::PathFields(HWND owner, std::array<HWND, 2> fields, std::array<std::wstring, 2> names)
    : fields_{{{fields[0], std::move(names[0])}, {fields[1], std::move(names[1])}}},
      tooltip_(createTooltipWindow(owner, 0, "the path fields' tooltip")) {
    for (Field& field : fields_) {
        // The hint shows in an empty field even while it has the focus.
        SendMessageW(field.window, EM_SETCUEBANNER, TRUE,
                     reinterpret_cast<LPARAM>(field.name.c_str()));
        // The tooltip asks for its text each time it shows, so it gives the path as it is then.
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = owner;
        tool.uId = reinterpret_cast<UINT_PTR>(field.window);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

const PathFields::Field* PathFields::find(HWND window) const {
    for (const Field& field : fields_) {
        if (field.window == window) {
            return &field;
        }
    }
    return nullptr;
}

PathFields::Field* PathFields::find(HWND window) {
    return const_cast<Field*>(std::as_const(*this).find(window));
}

const std::string& PathFields::text(HWND window) const {
    const Field* field = find(window);
    if (field == nullptr) {
        throw std::logic_error("not a path field");
    }
    if (!field->text) {
        field->text = utf8FromWide(windowText(field->window));
    }
    return *field->text;
}

void PathFields::showEnd(Field& field) {
    const int length = GetWindowTextLengthW(field.window);
    SendMessageW(field.window, EM_SETSEL, static_cast<WPARAM>(length), length);
    SendMessageW(field.window, EM_SCROLLCARET, 0, 0);
}

void PathFields::showEnds() {
    for (Field& field : fields_) {
        if (GetFocus() != field.window) {
            showEnd(field);
        }
    }
}

void PathFields::onFieldCommand(HWND window, WORD code) {
    Field* field = find(window);
    if (field == nullptr) {
        return;
    }
    switch (code) {
        case EN_KILLFOCUS: {
            SendMessageW(field->window, EM_GETSEL, reinterpret_cast<WPARAM>(&field->selectionStart),
                         reinterpret_cast<LPARAM>(&field->selectionEnd));
            field->selectionKept = true;
            showEnd(*field);
            break;
        }
        case EN_SETFOCUS:
            if (field->selectionKept) {
                SendMessageW(field->window, EM_SETSEL, field->selectionStart,
                             static_cast<LPARAM>(field->selectionEnd));
                SendMessageW(field->window, EM_SCROLLCARET, 0, 0);
                field->selectionKept = false;
            }
            break;
        case EN_CHANGE:
            field->text.reset();
            // A path put in from outside (a drop) replaces what the caret was in.
            if (GetFocus() != field->window) {
                field->selectionKept = false;
                showEnd(*field);
            }
            break;
        default:
            break;
    }
}

void PathFields::onNotify(NMHDR& header) {
    if (header.hwndFrom != tooltip_.get() || header.code != TTN_GETDISPINFOW) {
        return;
    }
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    Field* field = find(reinterpret_cast<HWND>(info.hdr.idFrom));
    if (field != nullptr) {
        tooltipText_ = field->name + L"\n" + windowText(field->window);
        info.lpszText = tooltipText_.data();
    }
}

void PathFields::setTooltipWidth(int pixels) {
    SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, pixels);
}

}  // namespace quorrel::win32
