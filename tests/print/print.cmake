# The printouts on the recording canvas: primitives, page frame, list printouts, recipe
# printout.
kovanta_add_test(test_print SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_primitives.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/test_listprintouts.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/test_recipeprintout.cpp
                 LIBS kovanta_print)
# Real PDF files through the QPainter canvas, read back with pdftotext.
kovanta_add_test(test_print_pdf SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_pdfprint.cpp
                 LIBS kovanta_print_qt GUI)
