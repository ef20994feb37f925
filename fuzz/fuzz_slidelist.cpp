// The slide list reader over any file content: it appends rows or fails with one of the numbers
// it documents, and a list it read completely survives a save and a second read unchanged.
#include "FuzzSupport.h"

#include "common/AppError.h"
#include "slidelist/SlideListFile.h"

using namespace vantelo;

namespace {

bool isDocumentedReadFailure(int number)
{
    return number == ErrorNumber::Overflow || number == ErrorNumber::InputPastEndOfFile ||
           number == ErrorNumber::InvalidProcedureCall;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::ScratchFiles scratch;
    const QByteArray bytes = fuzz::bytesOf(data, size);

    SlideRows rows;
    bool complete = true;
    try {
        ReadSlideList(scratch.write(QStringLiteral("input.vtl"), bytes), rows);
    } catch (const AppError& e) {
        FUZZ_EXPECT(isDocumentedReadFailure(e.number()));
        complete = false;
    }
    FUZZ_EXPECT(rows.size() <= MaxSlideRows);

    // The same text straight into the line cutter, whatever the count line says.
    try {
        const SlideRow row = cutSlideRowLine(QString::fromUtf8(bytes));
        FUZZ_EXPECT(!row.folder.contains(u'|') && !row.fileName.contains(u'|') && !row.sizeText.contains(u'|'));
    } catch (const AppError& e) {
        FUZZ_EXPECT(e.number() == ErrorNumber::Overflow || e.number() == ErrorNumber::InvalidProcedureCall);
    }

    if (complete && !rows.isEmpty()) {
        // Saving adds the row number and the full separators, so a line near the length limit may
        // legitimately grow past it; only lists well inside the limit must round-trip.
        bool roomy = true;
        for (const SlideRow& row : rows)
            roomy = roomy && row.folder.size() + row.fileName.size() + row.sizeText.size() + row.spare.size() < 30000;
        if (roomy) {
            SlideRows again;
            ReadSlideList(scratch.write(QStringLiteral("again.vtl"), slideListBytes(rows)), again);
            FUZZ_EXPECT(again == rows);
        }
    }
    return 0;
}
