// zvBlob: helpers for table fields: a field's value with a neutral value in place of Null, and
// writing a long text or long binary field into a file, in pieces where the value is large.
#pragma once

#include "foundation/cRecordset.h"

#include <functional>
#include <ostream>
#include <string>

namespace zvBlob {

// Size of the pieces in which large values are moved.
constexpr long kChunkSize = 16384;

// Receives the message about a field type FldValue has no neutral value for.
using UnknownTypeHandler = std::function<void(const std::string& message)>;

// Sets who is told about a field type FldValue does not know (each field name and type once
// until the handler is set again); an empty handler, the default, tells no one.
void SetUnknownTypeHandler(UnknownTypeHandler handler);

// The field's value; a Null becomes 0 (a whole number) for numeric types, the empty text for
// text and date types, false for Boolean, and for any other type the empty value, after the
// unknown-type message "Tipo non definito in FldValue : <name>  <type>".
cVariant FldValue(const cField& field);

// Writes a long text (201, 203) or long binary (205) field into the file, replacing it (a new
// file made exclusively, never written through a link), and returns the file's length. size -1
// writes the whole value in pieces; a size up to threshold writes the whole value at once; a larger
// size writes that many bytes in pieces. Other types leave the file empty. A file that cannot be
// written raises cError 75.
long FieldToFile(cField& field, const std::string& path, long size, long threshold);

// Writes the rest of a text field's value to the stream in pieces of kChunkSize.
void WriteTextChunks(std::ostream& out, cField& field);
// Writes the rest of a binary field's value to the stream in pieces of kChunkSize.
void WriteBinaryChunks(std::ostream& out, cField& field);
// Reads n bytes of a text field in pieces of kChunkSize and writes what they give.
void WriteTextChunksN(std::ostream& out, cField& field, long n);
// Reads n bytes of a binary field in pieces of kChunkSize and writes what they give.
void WriteBinaryChunksN(std::ostream& out, cField& field, long n);

}  // namespace zvBlob
