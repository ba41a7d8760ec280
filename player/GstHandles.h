#pragma once

#include <gst/gst.h>

#include <memory>

namespace player {

// Owners of GStreamer references, so no unref is ever written by hand.
struct GstObjectUnref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct GstMessageUnref {
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};
struct GstQueryUnref {
    void operator()(GstQuery* query) const { gst_query_unref(query); }
};
struct GstErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GFree {
    void operator()(gchar* text) const { g_free(text); }
};

using ElementHandle = std::unique_ptr<GstElement, GstObjectUnref>;
using BusHandle = std::unique_ptr<GstBus, GstObjectUnref>;
using MessageHandle = std::unique_ptr<GstMessage, GstMessageUnref>;
using QueryHandle = std::unique_ptr<GstQuery, GstQueryUnref>;
using GCharHandle = std::unique_ptr<gchar, GFree>;

// Takes ownership of a newly made element, sinking its floating reference.
inline ElementHandle AdoptElement(GstElement* element) {
    return ElementHandle(element != nullptr ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr);
}

}  // namespace player
