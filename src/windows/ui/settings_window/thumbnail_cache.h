#pragma once
// Thumbnails of the day pictures, decoded at thumbnail size and kept on disk, one a day, under
// %LOCALAPPDATA%\Lumora\thumbnails\. A kept thumbnail is used only while the picture file is the
// one it was made from (same path, volume, file index, size and last write time), so a changed
// picture is always decoded afresh; the folder never holds more than the seven days.
#include "windows/platform/wic_decode.h"

#include <optional>
#include <string>

namespace lumora {

class ThumbnailCache {
public:
    // `folder` empty: %LOCALAPPDATA%\Lumora\thumbnails (made when first needed).
    explicit ThumbnailCache(std::wstring folder = {});

    // Day w's thumbnail of `path` (UTF-8) at `size`: the kept one when it is still good, else
    // decoded (and kept). Nothing when the file is no picture WIC decodes. Safe to call for
    // different days from different threads at once; the calling thread needs COM.
    std::optional<DecodedPicture> load(int weekdayNumber, const std::string& path,
                                       PixelSize size) const;

private:
    std::wstring m_folder;
};

} // namespace lumora
