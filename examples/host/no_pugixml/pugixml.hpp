// Stands in front of the real pugixml on the consumer's include path: a public header of the
// library that includes pugixml stops the consumer's build here.
#error "a public foldwise header includes pugixml"
