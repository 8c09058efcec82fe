#include "LoadAction.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "SkillFileLayout.h"
#include "runtime/base/CheckedMath.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/base/OutOfMemory.h"
#include "runtime/text/Text8Bit.h"

namespace quorrel {
namespace {

// A name longer than this is only held as far as it can reach the text (see nameBytesToHold);
// shorter names are simply allocated in full.
constexpr std::int32_t kNameSizeWorthChecking = 64 * 1024;
constexpr std::size_t kFirstScanPiece = 16 * 1024;
constexpr std::size_t kLargestScanPiece = 1024 * 1024;

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

// Runs a step; a failure it raises gets the place where it happened said after its description.
// Memory running out anywhere in the step, in the list's or the text's own allocations too, is an
// out-of-memory failure of the step like any other. The place is only worked out when there is a
// failure, as runs of a million records pass here many times.
template <typename Step, typename Place>
void describedAt(Place place, Step step) {
    try {
        failingWhenMemoryRunsOut(step);
    } catch (const Failure& failure) {
        throw failure.at(place());
    }
}

std::string labelled(std::string_view label, std::int32_t value) {
    return std::string(label) + " " + std::to_string(value);
}

// A record whose flag byte lies at or past the end of the data file points at nothing the file
// holds. Left alone it would load as an empty, unchecked item, and a whole index read as data
// file, or the two files swapped, would load "successfully" as a list of blank rows.
Failure flagPastTheEnd(std::int32_t offset, const std::string& dataPath) {
    return Failure(FailureKind::BadReadPosition,
                   "offset " + std::to_string(offset) + " lies past the end of " +
                       inQuotes(dataPath) +
                       ": the index does not belong to this data file; are the two files the "
                       "right way round?");
}

// The index file, read a block of whole records at a time: one system call for thousands of
// records, where an index of empty slots would otherwise cost one per record. A block holds what a
// single read returned, cut to whole records, and the next block is read from the byte after them.
// So every record comes from one read, and is one the file held at some moment even while it is
// being rewritten or cut; the index ends where a read brings no whole record, so a file that grows
// during the run is read to its new end, and a piece of 1 to 11 bytes at its end is never a record.
class IndexBlocks {
  public:
    IndexBlocks(FileTable& files, FileNumber number)
        : files_(files), number_(number), position_(files.position(number)), block_(kBlockSize) {}

    // The next record's twelve bytes, or null once the index has ended. The bytes stay valid
    // until the next call.
    const std::uint8_t* next() {
        if (at_ == held_ && !readBlock()) {
            return nullptr;
        }
        const std::uint8_t* record = block_.data() + at_;
        at_ += kIndexRecordSize;
        return record;
    }

  private:
    // 64 KiB rounded up to whole records: a read this large goes straight into the block, past
    // the read-ahead window that serves the file table's small reads.
    static constexpr std::size_t kBlockSize =
        (64 * 1024 + kIndexRecordSize - 1) / kIndexRecordSize * kIndexRecordSize;

    bool readBlock() {
        const std::size_t got = files_.getBytes(number_, position_, block_);
        held_ = got - got % kIndexRecordSize;
        at_ = 0;
        position_ += static_cast<std::int64_t>(held_);
        return held_ > 0;
    }

    FileTable& files_;
    FileNumber number_;
    std::int64_t position_;
    std::vector<std::uint8_t> block_;
    std::size_t held_ = 0;
    std::size_t at_ = 0;
};

// Reads the next index record into the working fields; false when the index has ended.
bool readIndexRecord(IndexBlocks& index, LoadFields& fields) {
    const std::uint8_t* const record = index.next();
    if (record == nullptr) {
        return false;
    }
    const IndexRecord read =
        indexRecordOf(std::span<const std::uint8_t, kIndexRecordSize>(record, kIndexRecordSize));
    fields.offset = read.offset;
    fields.length = read.length;
    fields.extra = read.extra;
    return true;
}

// Lets the host keep its window answering during a long load: whileLoading() is called once a
// pause has passed since it last returned, and the clock is only looked at every few hundred
// records, so that an index of millions of empty slots pays next to nothing for it.
class WhileLoadingPacer {
  public:
    explicit WhileLoadingPacer(LoadHost& host) : host_(host), last_(Clock::now()) {}

    void recordHandled() {
        if (--untilLook_ != 0) {
            return;
        }
        untilLook_ = kRecordsBetweenLooks;
        if (Clock::now() - last_ >= kPause) {
            host_.whileLoading();
            last_ = Clock::now();
        }
    }

  private:
    using Clock = std::chrono::steady_clock;
    // Four times a second: often enough that no system takes the window for one that hangs.
    static constexpr Clock::duration kPause = std::chrono::milliseconds(250);
    static constexpr unsigned kRecordsBetweenLooks = 256;

    LoadHost& host_;
    Clock::time_point last_;
    unsigned untilLook_ = kRecordsBetweenLooks;
};

// How many name elements the buffer needs to hold. A short name is held in full. A long one is
// held only as far as the data file reaches and up to its first zero byte: the bytes after that
// never reach the text, so a huge `length` costs memory in proportion to the name it shows, not
// to the length or the file. Finding that zero means reading a long name twice. The scan reads
// in pieces that grow from small, so a long `length` over a short file costs a small piece, and
// it stops where a read comes up short, wherever the file ends at that moment.
std::size_t nameBytesToHold(FileTable& files, const LoadFields& fields, std::int64_t namePosition) {
    if (fields.length <= kNameSizeWorthChecking) {
        return ByteBuffer::kUnlimited;
    }
    const auto length = static_cast<std::uint64_t>(fields.length);
    std::vector<std::uint8_t> piece(kFirstScanPiece);
    std::uint64_t scanned = 0;
    while (scanned < length) {
        piece.resize(
            static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), length - scanned)));
        const std::size_t got = files.getBytes(
            fields.dataFileNo, namePosition + static_cast<std::int64_t>(scanned), piece);
        const auto end = piece.begin() + static_cast<std::ptrdiff_t>(got);
        const auto zero = std::find(piece.begin(), end, std::uint8_t{0});
        scanned += static_cast<std::uint64_t>(zero - piece.begin());
        if (zero != end || got < piece.size()) {
            break;
        }
        piece.resize(std::min(piece.size() * 2, kLargestScanPiece));
    }
    return static_cast<std::size_t>(scanned);
}

// The list keeps an item's text only up to its first zero character, so the bytes after the first
// zero byte are never converted: a long name buffer of a huge `length` would otherwise become a
// text up to three times its size, only to be cut.
std::span<const std::uint8_t> beforeFirstZero(std::span<const std::uint8_t> bytes) {
    // memchr rather than a loop of our own: the C library looks at many bytes at a time.
    const void* const zero = bytes.empty() ? nullptr : std::memchr(bytes.data(), 0, bytes.size());
    return zero == nullptr ? bytes
                           : bytes.first(static_cast<std::size_t>(
                                 static_cast<const std::uint8_t*>(zero) - bytes.data()));
}

// A long name's bytes are let go once they are text, before the list takes the text, so that a
// gigabyte name is never held three times: as bytes, as text and in the list. Short names stay in
// the working field, where they cost nothing.
void letGoOfALongName(LoadFields& fields) {
    if (fields.name.stored().size() > static_cast<std::size_t>(kNameSizeWorthChecking)) {
        fields.name = ByteBuffer();
    }
}

// What a run keeps from one record to the next besides the working fields: the host's list and
// code page, asked for once, the index being read and the memory the data file's path is taken
// into, afresh for every record.
struct RunState {
    SkillList& lstSkills;
    CodePage codePage;
    IndexBlocks& index;
    std::string dataPath;
};

// Handles one used index record: reads its flag and name from the data file and appends the item.
void loadRecord(LoadHost& host, FileTable& files, LoadFields& fields, RunState& run) {
    SkillList& lstSkills = run.lstSkills;
    fields.dataFileNo = files.freeNumber();
    describedAt([] { return std::string("the data file"); },
                [&] {
                    host.txtPathTextInto(run.dataPath);
                    files.open(fields.dataFileNo, run.dataPath);
                });
    const ClosesOnExit closeData(files, fields.dataFileNo);

    const std::int32_t flagPosition = addOrOverflow(fields.offset, 1, "offset");
    describedAt([&] { return labelled("offset", fields.offset); },
                [&] { files.getByte(fields.dataFileNo, flagPosition, fields.flag); });
    if (files.endOfFile(fields.dataFileNo)) {
        throw flagPastTheEnd(fields.offset, files.path(fields.dataFileNo));
    }

    const std::int32_t upperBound = addOrOverflow(fields.length, -1, "length");
    const std::int64_t namePosition = files.position(fields.dataFileNo);
    describedAt(
        [&] { return labelled("length", fields.length); },
        [&] { fields.name.redim(0, upperBound, nameBytesToHold(files, fields, namePosition)); });
    files.getBuffer(fields.dataFileNo, namePosition, fields.name);
    files.close(fields.dataFileNo);

    const auto nameBytes = beforeFirstZero(fields.name.stored());
    std::string text = textFrom8Bit(nameBytes, run.codePage);
    host.nameRead(nameBytes, text);
    letGoOfALongName(fields);
    // The list keeps the text as it is handed over: a short name is trimmed to its size first (a
    // name of accented letters grows past what the conversion reserved), a long one never copied.
    // A copy, not shrink_to_fit, which would hide memory running out.
    if (text.size() <= static_cast<std::size_t>(kNameSizeWorthChecking) &&
        text.capacity() > text.size()) {
        text = std::string(text);
    }
    lstSkills.AddItem(std::move(text));
    lstSkills.Selected(lstSkills.NewIndex(), fields.flag != 0);
}

enum class RecordRead { Used, Skipped, NoneLeft };

// Handles index record `fields.record`: reads it and, when it is used, loads its skill.
RecordRead loadNextRecord(LoadHost& host, FileTable& files, RunState& run, LoadFields& fields) {
    if (!readIndexRecord(run.index, fields)) {
        return RecordRead::NoneLeft;
    }
    if (isEmptySlot(fields.offset, fields.length)) {
        return RecordRead::Skipped;
    }
    loadRecord(host, files, fields, run);
    return RecordRead::Used;
}

void loadTable(LoadHost& host, FileTable& files) {
    SkillList& lstSkills = host.lstSkills();
    LoadFields& fields = host.loadFields();
    lstSkills.Clear();
    // The data file is opened for every record: its folder is not listed again for each one.
    const auto oneRun = files.runKeepingListings();

    fields.idxFileNo = files.freeNumber();
    const std::string indexPath = host.txtPathIdxText();
    describedAt([] { return std::string("the index file"); },
                [&] { files.open(fields.idxFileNo, indexPath); });
    const ClosesOnExit closeIndex(files, fields.idxFileNo);

    IndexBlocks index(files, fields.idxFileNo);
    RunState run{lstSkills, host.namesCodePage(), index, {}};
    WhileLoadingPacer pacer(host);
    bool anyItemAdded = false;
    for (fields.record = 0;; ++fields.record) {
        RecordRead read = RecordRead::NoneLeft;
        describedAt(
            [&] {
                return "record " + std::to_string(fields.record) + " of " + inQuotes(indexPath);
            },
            [&] { read = loadNextRecord(host, files, run, fields); });
        if (read == RecordRead::NoneLeft) {
            break;
        }
        anyItemAdded = anyItemAdded || read == RecordRead::Used;
        pacer.recordHandled();
    }
    files.close(fields.idxFileNo);

    // A table with no used record is an empty list, not a failure.
    if (anyItemAdded) {
        lstSkills.ListIndex(0);
    }
}

}  // namespace

void loadSkills(LoadHost& host, FileTable& files) {
    // Memory that runs out outside a record, or while a record's failure is being described,
    // still ends the load as a failure of its own kind.
    failingWhenMemoryRunsOut([&] { loadTable(host, files); });
}

}  // namespace quorrel
