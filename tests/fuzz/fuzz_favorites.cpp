#include "favorites/favorites_file.h"

#include <cstdlib>

// Any bytes read as favorites give whole items that write and read back the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const int columns : {1, 2, 3}) {
        const QList<FavoritesFile::Item> items = FavoritesFile::fromBytes(bytes, columns);
        for (const FavoritesFile::Item &item : items) {
            if (item.size() != columns)
                std::abort();
        }
        if (FavoritesFile::fromBytes(FavoritesFile::toBytes(items, columns), columns) != items)
            std::abort();
    }
    return 0;
}
