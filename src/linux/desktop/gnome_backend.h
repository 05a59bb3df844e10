#pragma once
// The GNOME family: GNOME (and Unity, Budgie, Pantheon, which read the same keys), Cinnamon and
// MATE keep their wallpaper in GSettings; the desktop draws whatever the keys say.
//
// GNOME and Cinnamon: `picture-uri` (and GNOME's `picture-uri-dark`, shown in dark mode) as a
// file URI, `picture-options`, "none" for no wallpaper. MATE: `picture-filename` as a plain path,
// an empty name for no wallpaper (it has no "none"). All three: `primary-color` with
// `color-shading-type` "solid" for the colour.
//
// A schema that is not installed leaves the backend unavailable (every call fails): GIO aborts the
// process when asked for a missing schema, so it is looked up first. A picture key is read back
// after it was written and synced: a store that did not keep it makes the call fail.
#include "core/ports/desktop_backend.h"
#include "linux/desktop/failure_log.h"

#include <cstdint>
#include <string>

struct _GSettings;
struct _GSettingsSchema;

namespace lumora {

enum class GsettingsDesktop { Gnome, Cinnamon, Mate };

class GnomeFamilyBackend : public DesktopBackend {
public:
    explicit GnomeFamilyBackend(GsettingsDesktop desktop);
    ~GnomeFamilyBackend() override;
    GnomeFamilyBackend(const GnomeFamilyBackend&) = delete;
    GnomeFamilyBackend& operator=(const GnomeFamilyBackend&) = delete;

    // "org.gnome.desktop.background", "org.cinnamon.desktop.background", "org.mate.background".
    static const char* schemaId(GsettingsDesktop desktop);
    // Whether the desktop's background schema is installed (a safe lookup, never aborts).
    static bool schemaInstalled(GsettingsDesktop desktop);

    std::string name() const override;
    bool available() const { return m_settings != nullptr; }

    DesktopResult setWallpaper(const std::string& path, int style) override;
    DesktopResult setBackgroundColor(std::uint32_t rgb) override;

private:
    bool hasKey(const char* key) const;
    std::string getString(const char* key) const;
    // False when the key is missing or refuses the value; the first failure of a call is kept in
    // m_problem.
    bool setString(const char* key, const std::string& value);
    // Sets a picture key. When it already holds `value`, it is cleared and written to the
    // desktop first, so that the desktop reads a file changed at the same path again.
    void setPictureKey(const char* key, const std::string& value);
    void sync();
    // The call's result: success, or the first problem met, told once.
    DesktopResult finish();

    GsettingsDesktop m_desktop;
    _GSettingsSchema* m_schema = nullptr;
    _GSettings* m_settings = nullptr;
    std::string m_problem;
    FailureLog m_log{name()};
};

} // namespace lumora
