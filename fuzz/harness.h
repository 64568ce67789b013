// What every fuzz target shares: a headless application, a working folder with the runtime files,
// and splitting one input into the chunks the serial port would deliver.
#ifndef HARNESS_H
#define HARNESS_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

// Makes the application (a core application unless one exists) and a working folder holding copies of
// dist/config and dist/icon, once per process. Returns the folder.
QString fuzz_environment();

// Splits `data` into chunks: each chunk starts with a length byte (1..64) followed by that many bytes;
// a short tail is the last chunk.
QList<QByteArray> fuzz_chunks(const uint8_t* data, size_t size);

// Writes `bytes` to `relative` inside the working folder, replacing the file.
void fuzz_write_file(const QString& relative, const QByteArray& bytes);

#endif // HARNESS_H
