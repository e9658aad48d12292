# Tests of the auto-refresh worker: natively (also under ThreadSanitizer) and under Wine,
# where the real-window tests run as well.
foldtally_add_test(NAME worker_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/periodic_worker_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/message_posting_worker_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/worker_probe.cpp
  LIBS ft_worker)
foldtally_add_test(NAME worker_window_test WIN32_ONLY
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/worker_window_test_win32.cpp
          ${CMAKE_CURRENT_LIST_DIR}/worker_probe.cpp
  LIBS ft_worker)
