kovanta_add_test(test_droppedlink SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_droppedlink.cpp
                 LIBS kovanta_webimport_qt GUI)
kovanta_add_test(test_tempfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_tempfile.cpp
                 LIBS kovanta_platform)
kovanta_add_test(test_importcore SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_importcore.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/importtestsupport.h ${CMAKE_CURRENT_LIST_DIR}/pyhttpserver.h
                 LIBS kovanta_webimport_core kovanta_jsonld)
kovanta_add_test(test_importwindow SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_importwindow.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/importtestsupport.h ${CMAKE_CURRENT_LIST_DIR}/pyhttpserver.h
                 LIBS kovanta_webimport_window GUI)
