# The decoders and the entry point that needs no file access (also built by tests/fuzz with clang).
set(IMAGING_DECODER_SOURCES
  CelDecoder.cpp CutDecoder.cpp DecodeSupport.cpp IffDecoder.cpp JpegDecoder.cpp PcdDecoder.cpp PcxDecoder.cpp Picture.cpp PsdDecoder.cpp QtReaders.cpp RlaDecoder.cpp
  SgiDecoder.cpp SunRasterDecoder.cpp TgaDecoder.cpp DecodeSupport.h Decoders.h Picture.h)
list(TRANSFORM IMAGING_DECODER_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
