# The decoders and the entry point that needs no file access (also built by tests/fuzz with clang).
set(IMAGING_DECODER_SOURCES
  DecodeSupport.cpp IffDecoder.cpp JpegDecoder.cpp PcxDecoder.cpp Picture.cpp PsdDecoder.cpp QtReaders.cpp
  SgiDecoder.cpp SunRasterDecoder.cpp TgaDecoder.cpp DecodeSupport.h Decoders.h Picture.h)
list(TRANSFORM IMAGING_DECODER_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
