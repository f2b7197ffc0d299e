# Tests of the XML-only assembly road (CTamXmlOnlyParser): no kernel, no translator.
tam_add_gtest(taminteropcad_xml_only_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/xml_only_parser_test.cpp
    LIBS
        TamInteropCAD::TamInteropCAD
        TamInteropCAD::tamkernel)
