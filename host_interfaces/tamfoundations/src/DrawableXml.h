// Private: the <Drawable> element holding one drawable's lists, drawing state and level.
#pragma once

#include <memory>
#include <string>

class CTamXmlParserNode;
class sglGeoSet;

// Appends <Drawable Kind=... Prims=... [Level=...] [Name=...]> with the drawable's material,
// lighting, line width and point size (state slot 0) and its lists, in decimal text or, with
// `base64`, as base64 of little-endian values. "Level" is written when `level` is not 0 or the
// drawable carries a level record. Drawables of unknown kinds are not written (null returned).
std::shared_ptr<CTamXmlParserNode> WriteDrawable(CTamXmlParserNode& parent,
                                                 const sglGeoSet& drawable, unsigned int level,
                                                 bool base64);

// A new drawable (count 0, owned by the caller) read from an element written by WriteDrawable,
// or null with a reason in `error` when the element is damaged or inconsistent.
sglGeoSet* ReadDrawable(const CTamXmlParserNode& element, std::wstring& error);
