# The panel bitmaps: committed files, embedding, BMP decoding and the generator.
tk_gtest(resources_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/resources_bitmaps_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/resources_embedded_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/resources_decode_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/resources_generator_test.cpp
  LIBS tk_resources)
target_compile_definitions(resources_tests
                           PRIVATE TK_BITMAP_DIR="${PROJECT_SOURCE_DIR}/resources/bitmaps")
if(TARGET draw_bitmaps)
  add_dependencies(resources_tests draw_bitmaps)
  target_compile_definitions(resources_tests PRIVATE TK_DRAW_BITMAPS="$<TARGET_FILE:draw_bitmaps>")
endif()
