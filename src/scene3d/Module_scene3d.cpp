// module scene3d
