// What tamcad can write and the checks of its files before the work starts.
#pragma once

#include "Picture.h"

#include <string>

class sglNode;

namespace tam {

enum class OutputKind { Gltf, Picture, Translator };

// The kind of output an extension names (.glb .gltf; .png; .okt .okb .step .stp .igs .iges
// .brep .stl); false for any other.
bool outputKind(const std::string& path, OutputKind& kind);

// Why the source cannot be read ("No such file or directory", "Is a directory", "Permission
// denied"), or empty when it can.
std::string sourceProblem(const std::string& path);

// Why the output cannot be written (its folder is missing or not writable, it is a folder), or
// empty when it can be tried.
std::string outputProblem(const std::string& path);

// Writes a glTF or picture output whole or not at all; false with the reason in error.
bool writeSceneOutput(const sglNode* scene, const std::string& path, OutputKind kind,
                      const PictureOptions& picture, std::string& error);

}  // namespace tam
