#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "LoadFields.h"
#include "SkillList.h"
#include "runtime/text/CodePage.h"

namespace quorrel {

// What the load action needs from its surroundings: the list it fills, the two path texts and
// a home for its working fields. The window is one such host; quorrel-dump and tests are others.
class LoadHost {
  public:
    virtual ~LoadHost() = default;

    virtual SkillList& lstSkills() = 0;

    // The data file's path as it stands at this moment; read afresh for every used record.
    virtual std::string txtPathText() const = 0;

    // The same text written over `text`, whose memory serves again, so that a load reading the
    // path for every record need not allocate it every time. Hosts that can should override it.
    virtual void txtPathTextInto(std::string& text) const { text = txtPathText(); }

    // The index file's path as it stands at this moment; read once per run.
    virtual std::string txtPathIdxText() const = 0;

    virtual LoadFields& loadFields() = 0;

    // Called now and then while a long load runs (a few times a second at most), so that a window
    // can repaint itself and keep answering the system. It must not touch the list, the path
    // texts or the working fields, nor take the user's input. Does nothing unless overridden.
    virtual void whileLoading() {}

    // The code page the names' bytes are converted through, asked once per run; the window
    // follows the system.
    virtual CodePage namesCodePage() const { return CodePage::ofSystem(); }

    // Called with each name's bytes, up to its first zero, and the text they were read as,
    // before its item is added. Does nothing unless overridden.
    virtual void nameRead(std::span<const std::uint8_t> /*bytes*/, const std::string& /*text*/) {}
};

}  // namespace quorrel
