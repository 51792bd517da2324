kovanta_add_test(test_codepage SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_codepage.cpp
                 LIBS kovanta_platform)
kovanta_add_test(test_ansiqstring SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_ansiqstring.cpp
                 LIBS kovanta_platform_qt)
kovanta_add_test(test_settingsstore SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_settingsstore.cpp
                 LIBS kovanta_platform_qt)
kovanta_add_test(test_uiscale SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_uiscale.cpp
                 LIBS kovanta_platform)
