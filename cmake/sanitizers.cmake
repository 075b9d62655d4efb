# MQ_SANITIZE=ON builds everything with AddressSanitizer and UndefinedBehaviorSanitizer;
# any report aborts the process so that a test run cannot pass over it.
option(MQ_SANITIZE "Build with ASan and UBSan" OFF)
if(MQ_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# MQ_SANITIZE_THREADS=ON builds with ThreadSanitizer (the tsan preset runs the decoder's tests).
option(MQ_SANITIZE_THREADS "Build with TSan" OFF)
if(MQ_SANITIZE_THREADS)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
