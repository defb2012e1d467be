// zvBlob: neutral values for Null fields and writing long fields into files.
#include "foundation/zvBlob.h"

#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace zvBlob {

namespace {

struct UnknownTypeReport {
    UnknownTypeHandler handler;
    std::set<std::string> told;  // field name and type already reported
};

UnknownTypeReport& report()
{
    static UnknownTypeReport r;
    return r;
}

void tellUnknownType(const cField& field)
{
    UnknownTypeReport& r = report();
    const std::string message = "Tipo non definito in FldValue : " + field.Name() + "  " +
                                std::to_string(field.Type());
    if (r.handler && r.told.insert(message).second) {
        r.handler(message);
    }
}

void writePiece(std::ostream& out, const cVariant& piece)
{
    const std::string& bytes = piece.str();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Pieces of kChunkSize until a Null or a shorter piece.
void writeChunks(std::ostream& out, cField& field)
{
    for (;;) {
        const cVariant piece = field.GetChunk(kChunkSize);
        if (piece.isNull()) {
            return;
        }
        writePiece(out, piece);
        if (static_cast<long>(piece.str().size()) != kChunkSize) {
            return;
        }
    }
}

// Exactly n bytes asked for, in pieces of kChunkSize and a last shorter one.
void writeChunksN(std::ostream& out, cField& field, long n)
{
    long position = 0;
    while (position < n) {
        const long piece = std::min(kChunkSize, n - position);
        writePiece(out, field.GetChunk(piece));
        position += piece;
    }
}

}  // namespace

void SetUnknownTypeHandler(UnknownTypeHandler handler)
{
    report().handler = std::move(handler);
    report().told.clear();
}

cVariant FldValue(const cField& field)
{
    const cVariant& v = field.Value();
    if (!v.isNull()) {
        return v;
    }
    switch (field.Type()) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 14:
    case 131:
        return cVariant(0);
    case 7:
    case 129:
    case 135:
    case 200:
    case 201:
    case 202:
    case 203:
        return cVariant(std::string());
    case 11:
        return cVariant(false);
    default:
        tellUnknownType(field);
        return cVariant();
    }
}

void WriteTextChunks(std::ostream& out, cField& field)
{
    writeChunks(out, field);
}

void WriteBinaryChunks(std::ostream& out, cField& field)
{
    writeChunks(out, field);
}

void WriteTextChunksN(std::ostream& out, cField& field, long n)
{
    writeChunksN(out, field, n);
}

void WriteBinaryChunksN(std::ostream& out, cField& field, long n)
{
    writeChunksN(out, field, n);
}

long FieldToFile(cField& field, const std::string& path, long size, long threshold)
{
    std::ostringstream out(std::ios::binary);
    const int type = field.Type();
    const bool text = type == 201 || type == 203;
    if (text || type == 205) {
        if (size == -1) {
            text ? WriteTextChunks(out, field) : WriteBinaryChunks(out, field);
        } else if (size <= threshold) {
            writePiece(out, field.Value());
        } else {
            text ? WriteTextChunksN(out, field, size) : WriteBinaryChunksN(out, field, size);
        }
    }
    const std::string bytes = std::move(out).str();
    if (!NUX_STD_library::WriteNewFile(path, bytes)) {
        throw cError(75, "zvBlob", "Path/File access error: " + path);
    }
    return static_cast<long>(bytes.size());
}

}  // namespace zvBlob
