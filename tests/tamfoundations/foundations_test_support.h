// Scene builders and scratch folders for the tamfoundations tests.
#pragma once

#include <gtest/gtest.h>

#include "scene_builders.h"
#include "scratch_folder.h"
