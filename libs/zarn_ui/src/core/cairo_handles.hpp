#pragma once
// Owners of the Cairo, Pango and GLib handles the core creates; each frees its handle once.

#include <cairo.h>
#include <glib-object.h>
#include <pango/pango.h>

#include <memory>

namespace zarn_ui::handles {

struct CairoFree {
  void operator()(cairo_t* p) const { cairo_destroy(p); }
  void operator()(cairo_surface_t* p) const { cairo_surface_destroy(p); }
  void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
  void operator()(cairo_font_options_t* p) const { cairo_font_options_destroy(p); }
};

struct PangoFree {
  void operator()(PangoFontDescription* p) const { pango_font_description_free(p); }
};

struct GObjectUnref {
  void operator()(gpointer p) const { g_object_unref(p); }
};

struct GFree {
  void operator()(gpointer p) const { g_free(p); }
};

using CairoContext = std::unique_ptr<cairo_t, CairoFree>;
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoFree>;
using CairoPattern = std::unique_ptr<cairo_pattern_t, CairoFree>;
using CairoFontOptions = std::unique_ptr<cairo_font_options_t, CairoFree>;
using FontDescription = std::unique_ptr<PangoFontDescription, PangoFree>;
template <class T>
using GObject = std::unique_ptr<T, GObjectUnref>;
using GString = std::unique_ptr<gchar, GFree>;

}  // namespace zarn_ui::handles
