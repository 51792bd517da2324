kovanta_add_test(test_richtextpreview SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_richtextpreview.cpp
                 LIBS kovanta_views GUI)
kovanta_add_test(test_previewcontroller
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_previewcontroller.cpp
                 LIBS kovanta_views GUI)
# The preview and the row finder in the main window.
kovanta_add_test(test_previewwindow SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_previewwindow.cpp
                 LIBS kovanta_shell kovanta_views GUI)
kovanta_add_test(test_recipelistgrid SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_recipelistgrid.cpp
                 LIBS kovanta_views kovanta_grid GUI)
