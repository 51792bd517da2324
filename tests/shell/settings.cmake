kovanta_add_test(test_settings SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_settings.cpp
                 LIBS kovanta_shell)
kovanta_add_test(test_formpossaver SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_formpossaver.cpp
                 LIBS kovanta_shell GUI)
kovanta_add_test(test_settings_window SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_settings_window.cpp
                 LIBS kovanta_shell GUI)
