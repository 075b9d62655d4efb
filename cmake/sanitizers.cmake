# MQ_SANITIZE=ON builds everything with AddressSanitizer and UndefinedBehaviorSanitizer;
# any report aborts the process so that a test run cannot pass over it.
option(MQ_SANITIZE "Build with ASan and UBSan" OFF)
if(MQ_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
