# The kernel's own text and binary files of entity lists.
set(ORIK_FILES_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/BinaryFormat.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DocumentFromEntities.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EntitiesFromDocument.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilesApi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShapeCodec.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextWriter.cpp
)
