#pragma once

#include "slidelist/SlideRow.h"

#include <QString>

// The slide list file (".vtl"): the only code that reads or writes it.
//
//   " N " CR LF                         the row count as the platform prints a whole number
//   "k | folder | name | size | spare"  one line per row, in list order, each ended by CR LF
//
// Text is UTF-8 without a byte-order mark.
namespace vantelo {

// Writes rows to path, replacing the file whole. The previous file stays exactly as it was when
// anything fails (the new content is written beside it and swapped in only when complete).
// Fails with AppError: overflow (6) beyond 32767 rows, 76 for a folder that does not exist,
// 75 for a file or folder that cannot be written, 61 when the disk fills up.
void WriteSlideList(const SlideRows& rows, const QString& path);

// Appends the rows of the file at path to rows, in file order. Rows read before a failure stay.
// Fails with AppError: 53 missing file, 76 missing folder, 75 unreadable, 6 a count outside 16 bits
// or a line longer than 32767 characters, 62 fewer row lines than the count, 5 a row line that
// cannot be cut into its four fields.
void ReadSlideList(const QString& path, SlideRows& rows);

// The two text forms the writer and the reader use, one whole file and one row line.
QByteArray slideListBytes(const SlideRows& rows);
SlideRow cutSlideRowLine(const QString& line);

} // namespace vantelo
