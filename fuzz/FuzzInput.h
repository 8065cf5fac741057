#pragma once
// What the fuzz targets share. The program's own errors (the Exception family)
// are a parser's proper answer to bad input and are caught; anything else
// that leaves a target (another exception, a crash, a sanitizer report, a
// broken promise checked with FUZZ_CHECK) is a finding, and libFuzzer keeps
// the input that caused it.
#include "base/Exception.h"

#include <QByteArray>
#include <QtGlobal>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

// A promise of the parser that the input broke: the input is kept as a crash.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: promise broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace QuorvelFuzz {

inline QByteArray ByteArray(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline std::span<const std::uint8_t> Span(const std::uint8_t* data, std::size_t size)
{
    return {data, size};
}

// Parts of the input separated by NUL bytes, as UTF-8 text: several short
// texts (arguments, values) from one input.
inline QStringList NulSeparatedTexts(const std::uint8_t* data, std::size_t size)
{
    QStringList texts;
    for (const QByteArray& part : ByteArray(data, size).split('\0'))
        texts << QString::fromUtf8(part);
    return texts;
}

// Runs `parse`, taking the program's own errors as an answer.
template <typename Parse>
void IgnoringOwnErrors(Parse&& parse)
{
    try {
        parse();
    } catch (const Quorvel1::Exception&) {
    }
}

// Before any input: unless QUORVEL_HOME names one already (scripts/fuzz.sh
// gives each run its own), the program folder (settings-address and
// definition files) becomes a new empty folder, so that no target reads the
// user's files; and Qt's warnings, which bad input may well cause by the
// million, are dropped (a fatal message still ends the run).
inline bool PrepareProcess()
{
    if (!std::getenv("QUORVEL_HOME")) {
        char folder[] = "/tmp/quorvel-fuzz-XXXXXX";
        if (::mkdtemp(folder))
            ::setenv("QUORVEL_HOME", folder, 1);
    }
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(text));
            std::abort();
        }
    });
    return true;
}
inline const bool ProcessPrepared = PrepareProcess();

} // namespace QuorvelFuzz
