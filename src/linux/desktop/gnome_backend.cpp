#include "linux/desktop/gnome_backend.h"

#include "linux/desktop/desktop_mapping.h"

#include <gio/gio.h>

#include <utility>

namespace lumora {

namespace {

GSettingsSchema* lookUpSchema(const char* id) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) {
        return nullptr;
    }
    return g_settings_schema_source_lookup(source, id, TRUE);
}

} // namespace

const char* GnomeFamilyBackend::schemaId(GsettingsDesktop desktop) {
    switch (desktop) {
    case GsettingsDesktop::Cinnamon:
        return "org.cinnamon.desktop.background";
    case GsettingsDesktop::Mate:
        return "org.mate.background";
    case GsettingsDesktop::Gnome:
        break;
    }
    return "org.gnome.desktop.background";
}

bool GnomeFamilyBackend::schemaInstalled(GsettingsDesktop desktop) {
    GSettingsSchema* schema = lookUpSchema(schemaId(desktop));
    if (schema == nullptr) {
        return false;
    }
    g_settings_schema_unref(schema);
    return true;
}

GnomeFamilyBackend::GnomeFamilyBackend(GsettingsDesktop desktop) : m_desktop(desktop) {
    m_schema = lookUpSchema(schemaId(desktop));
    if (m_schema == nullptr) {
        m_log.fail(std::string("the settings schema ") + schemaId(desktop) +
                   " is not installed; the desktop cannot be told about wallpapers");
        return;
    }
    m_settings = g_settings_new_full(m_schema, nullptr, nullptr);
}

GnomeFamilyBackend::~GnomeFamilyBackend() {
    if (m_settings != nullptr) {
        g_settings_sync();
        g_object_unref(m_settings);
    }
    if (m_schema != nullptr) {
        g_settings_schema_unref(m_schema);
    }
}

std::string GnomeFamilyBackend::name() const {
    switch (m_desktop) {
    case GsettingsDesktop::Cinnamon:
        return "cinnamon";
    case GsettingsDesktop::Mate:
        return "mate";
    case GsettingsDesktop::Gnome:
        break;
    }
    return "gnome";
}

DesktopResult GnomeFamilyBackend::finish() {
    const std::string problem = std::exchange(m_problem, {});
    return problem.empty() ? DesktopResult::success() : m_log.fail(problem);
}

bool GnomeFamilyBackend::hasKey(const char* key) const {
    return m_schema != nullptr && g_settings_schema_has_key(m_schema, key);
}

std::string GnomeFamilyBackend::getString(const char* key) const {
    if (!hasKey(key)) {
        return {};
    }
    gchar* value = g_settings_get_string(m_settings, key);
    std::string result = value != nullptr ? value : "";
    g_free(value);
    return result;
}

bool GnomeFamilyBackend::setString(const char* key, const std::string& value) {
    if (!hasKey(key)) {
        return false;
    }
    // Checked first: GSettings logs a critical and refuses a value outside an enum's range.
    GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(m_schema, key);
    GVariant* variant = g_variant_ref_sink(g_variant_new_string(value.c_str()));
    const bool valid =
        g_variant_is_of_type(variant, g_settings_schema_key_get_value_type(schemaKey)) &&
        g_settings_schema_key_range_check(schemaKey, variant);
    g_settings_schema_key_unref(schemaKey);
    bool written = false;
    if (valid) {
        written = g_settings_set_value(m_settings, key, variant);
    }
    g_variant_unref(variant);
    if (!written && m_problem.empty()) {
        m_problem =
            std::string(schemaId(m_desktop)) + " " + key + " could not be set to \"" + value + "\"";
    }
    return written;
}

void GnomeFamilyBackend::sync() {
    g_settings_sync();
}

void GnomeFamilyBackend::setPictureKey(const char* key, const std::string& value) {
    if (!hasKey(key)) {
        return;
    }
    if (getString(key) == value) {
        setString(key, "");
        sync();
    }
    if (setString(key, value)) {
        // Written to the store, which may still refuse it: read back what it kept.
        sync();
        if (getString(key) != value && m_problem.empty()) {
            m_problem =
                std::string(schemaId(m_desktop)) + " " + key + " did not keep \"" + value + "\"";
        }
    }
}

DesktopResult GnomeFamilyBackend::setWallpaper(const std::string& path, int style) {
    if (m_settings == nullptr) {
        return m_log.fail(std::string("the settings schema ") + schemaId(m_desktop) +
                          " is not installed; the desktop cannot be told about wallpapers");
    }
    // MATE keeps the file name itself, as GSettings text; the others keep a URI, which holds any
    // byte escaped.
    const DesktopResult refused = m_desktop == GsettingsDesktop::Mate
                                      ? m_log.checkPicturePathAsText(path)
                                      : m_log.checkPicturePath(path);
    if (!refused) {
        return refused;
    }
    const std::optional<std::string> options = gsettingsPictureOptions(style);
    m_problem.clear();
    if (m_desktop == GsettingsDesktop::Mate) {
        // MATE has no "none": an empty file name shows the colour alone.
        if (options) {
            setString("picture-options", *options);
        }
        setPictureKey("picture-filename", path);
        sync();
        return finish();
    }
    if (path.empty()) {
        setString("picture-options", "none");
        sync();
        return finish();
    }
    const std::string uri = fileUri(path);
    if (uri.empty()) {
        return m_log.fail("no file URI for \"" + path + "\"");
    }
    if (options) {
        setString("picture-options", *options);
    }
    setPictureKey("picture-uri", uri);
    setPictureKey("picture-uri-dark", uri);
    sync();
    return finish();
}

DesktopResult GnomeFamilyBackend::setBackgroundColor(std::uint32_t rgb) {
    if (m_settings == nullptr) {
        return m_log.fail(std::string("the settings schema ") + schemaId(m_desktop) +
                          " is not installed; the desktop cannot be told about wallpapers");
    }
    m_problem.clear();
    setString("color-shading-type", "solid");
    setString("primary-color", colorHex(rgb));
    sync();
    return finish();
}

} // namespace lumora
