#include "platform/desktop/gnome_backend.h"

#include "platform/desktop/desktop_mapping.h"

#include <gio/gio.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace lumora {

namespace {

GSettingsSchema* lookUpSchema(const char* id) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) {
        return nullptr;
    }
    return g_settings_schema_source_lookup(source, id, TRUE);
}

std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') {
        return path;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
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
        std::fprintf(stderr,
                     "lumora: the settings schema %s is not installed; the %s desktop "
                     "cannot be told about wallpapers\n",
                     schemaId(desktop), name().c_str());
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
    if (!written) {
        std::fprintf(stderr, "lumora: %s %s could not be set to \"%s\"\n", schemaId(m_desktop), key,
                     value.c_str());
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
    setString(key, value);
}

void GnomeFamilyBackend::setWallpaper(const std::string& path, int style) {
    if (m_settings == nullptr) {
        return;
    }
    const std::optional<std::string> options = gsettingsPictureOptions(style);
    const std::string file = absolutePath(path);
    if (m_desktop == GsettingsDesktop::Mate) {
        // MATE has no "none": an empty file name shows the colour alone.
        if (options) {
            setString("picture-options", *options);
        }
        setPictureKey("picture-filename", file);
        sync();
        return;
    }
    if (file.empty()) {
        setString("picture-options", "none");
        sync();
        return;
    }
    const std::string uri = fileUri(file);
    if (uri.empty()) {
        std::fprintf(stderr, "lumora: no file URI for \"%s\"\n", file.c_str());
        return;
    }
    if (options) {
        setString("picture-options", *options);
    }
    setPictureKey("picture-uri", uri);
    setPictureKey("picture-uri-dark", uri);
    sync();
}

void GnomeFamilyBackend::setBackgroundColor(std::uint32_t rgb) {
    if (m_settings == nullptr) {
        return;
    }
    setString("color-shading-type", "solid");
    setString("primary-color", colorHex(rgb));
    sync();
}

} // namespace lumora
