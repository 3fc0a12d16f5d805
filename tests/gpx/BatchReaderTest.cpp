#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "BatchReader.h"
#include "MediaFile.h"

using gpx::BatchReader;

// Running out of memory while the pieces are handed over, or while more are asked for, must
// reach the caller as the error it is: a reader going away on the way out may not call the
// handler again (a second throw there ends the program).
TEST(BatchReader, AnErrorLeavesTheReaderWithoutCallingTheHandlerAgain) {
    gpx::MediaFile file;
    file.openMemory(std::vector<uint8_t>(4096, 7));
    for (bool handlerThrows : {true, false}) {
        SCOPED_TRACE(handlerThrows);
        int calls = 0;
        auto fill = [&](BatchReader& reader) {
            reader.read(0, 0, 16);
            reader.read(1, 32, 16);  // joins the first piece's read
            if (handlerThrows) {
                reader.flush();
            } else {
                throw std::bad_alloc();  // as when asking for the next piece fails
            }
        };
        EXPECT_THROW(
            {
                BatchReader reader(file, [&](size_t, std::span<const uint8_t>) {
                    ++calls;
                    throw std::bad_alloc();
                });
                fill(reader);
            },
            std::bad_alloc);
        EXPECT_EQ(calls, handlerThrows ? 1 : 0);
    }
}
