#include "LoadAction.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "SkillFileLayout.h"
#include "runtime/CheckedMath.h"
#include "runtime/Failure.h"
#include "runtime/Text8Bit.h"

namespace quorrel {
namespace {

// A name longer than this is only held as far as it can reach the text (see nameBytesToHold);
// shorter names are simply allocated in full.
constexpr std::int32_t kNameSizeWorthChecking = 64 * 1024;
constexpr std::size_t kNameScanPiece = 1024 * 1024;

// Closes a file number when the run leaves its scope, on failure as well as on success.
class ClosesOnExit {
  public:
    ClosesOnExit(FileTable& files, FileNumber number) : files_(files), number_(number) {}
    ClosesOnExit(const ClosesOnExit&) = delete;
    ClosesOnExit& operator=(const ClosesOnExit&) = delete;
    ~ClosesOnExit() { files_.close(number_); }

  private:
    FileTable& files_;
    FileNumber number_;
};

// Runs a step; a failure it raises gets the context in front of its description. The context is
// only worked out when there is a failure, as runs of a million records pass here many times.
template <typename Step, typename Context>
void describedAs(Context context, Step step) {
    try {
        step();
    } catch (const Failure& failure) {
        throw failure.within(context());
    }
}

std::string labelled(std::string_view label, std::int32_t value) {
    return std::string(label) + " " + std::to_string(value);
}

void readIndexRecord(FileTable& files, LoadFields& fields) {
    const FileNumber index = fields.idxFileNo;
    files.getInt32(index, files.position(index), fields.offset);
    files.getInt32(index, files.position(index), fields.length);
    files.getBytes(index, files.position(index), fields.extra);
}

bool isEmptySlot(const LoadFields& fields) {
    return fields.offset == kEmptySlotOffset || fields.length == kEmptySlotLength;
}

// How many name elements the buffer needs to hold. A short name is held in full. A long one is
// held only as far as the data file reaches and up to its first zero byte: the bytes after that
// never reach the text, so a huge `length` costs memory in proportion to the name it shows, not
// to the length or the file. Finding that zero means reading a long name twice.
std::size_t nameBytesToHold(FileTable& files, const LoadFields& fields, std::int64_t namePosition) {
    if (fields.length <= kNameSizeWorthChecking) {
        return ByteBuffer::kUnlimited;
    }
    const std::uint64_t reachable =
        std::min(files.remaining(fields.dataFileNo), static_cast<std::uint64_t>(fields.length));
    std::vector<std::uint8_t> piece(
        static_cast<std::size_t>(std::min<std::uint64_t>(kNameScanPiece, reachable)));
    for (std::uint64_t scanned = 0; scanned < reachable; scanned += piece.size()) {
        piece.resize(
            static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), reachable - scanned)));
        files.getBytes(fields.dataFileNo, namePosition + static_cast<std::int64_t>(scanned), piece);
        const auto zero = std::find(piece.begin(), piece.end(), std::uint8_t{0});
        if (zero != piece.end()) {
            return static_cast<std::size_t>(scanned) +
                   static_cast<std::size_t>(zero - piece.begin());
        }
    }
    return static_cast<std::size_t>(reachable);
}

// The list keeps an item's text only up to its first zero character, so the bytes after the first
// zero byte are never converted: a long name buffer of a huge `length` would otherwise become a
// text up to three times its size, only to be cut.
std::span<const std::uint8_t> beforeFirstZero(std::span<const std::uint8_t> bytes) {
    return bytes.first(static_cast<std::size_t>(
        std::find(bytes.begin(), bytes.end(), std::uint8_t{0}) - bytes.begin()));
}

// Handles one used index record: reads its flag and name from the data file and appends the item.
void loadRecord(LoadHost& host, FileTable& files, LoadFields& fields) {
    SkillList& lstSkills = host.lstSkills();
    fields.dataFileNo = files.freeNumber();
    describedAs([] { return std::string("data file"); },
                [&] { files.open(fields.dataFileNo, host.txtPathText()); });
    const ClosesOnExit closeData(files, fields.dataFileNo);

    const std::int32_t flagPosition = addOrOverflow(fields.offset, 1, "offset");
    describedAs([&] { return labelled("offset", fields.offset); },
                [&] { files.getByte(fields.dataFileNo, flagPosition, fields.flag); });

    const std::int32_t upperBound = addOrOverflow(fields.length, -1, "length");
    const std::int64_t namePosition = files.position(fields.dataFileNo);
    describedAs(
        [&] { return labelled("length", fields.length); },
        [&] { fields.name.redim(0, upperBound, nameBytesToHold(files, fields, namePosition)); });
    files.getBuffer(fields.dataFileNo, namePosition, fields.name);
    files.close(fields.dataFileNo);

    lstSkills.AddItem(textFrom8Bit(beforeFirstZero(fields.name.stored())));
    lstSkills.Selected(lstSkills.NewIndex(), fields.flag != 0);
}

}  // namespace

void loadSkills(LoadHost& host, FileTable& files) {
    SkillList& lstSkills = host.lstSkills();
    LoadFields& fields = host.loadFields();
    lstSkills.Clear();

    fields.idxFileNo = files.freeNumber();
    const std::string indexPath = host.txtPathIdxText();
    describedAs([] { return std::string("index file"); },
                [&] { files.open(fields.idxFileNo, indexPath); });
    const ClosesOnExit closeIndex(files, fields.idxFileNo);

    // Only whole records are taken: a trailing piece shorter than a record is not one.
    bool anyItemAdded = false;
    for (std::uint64_t record = 0; files.remaining(fields.idxFileNo) >= kIndexRecordSize;
         ++record) {
        readIndexRecord(files, fields);
        if (isEmptySlot(fields)) {
            continue;
        }
        describedAs([&] { return "record " + std::to_string(record) + " of " + indexPath; },
                    [&] { loadRecord(host, files, fields); });
        anyItemAdded = true;
    }
    files.close(fields.idxFileNo);

    // A table with no used record is an empty list, not a failure.
    if (anyItemAdded) {
        lstSkills.ListIndex(0);
    }
}

}  // namespace quorrel
