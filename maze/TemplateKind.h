#pragma once

// The cell shapes a maze can be built on.
enum TemplateKind : int {
    KIND_BOX = 0,
    KIND_HEX = 1,
    KIND_OCTAGON_BOX = 2,
    KIND_TRIANGULAR = 3,
    KIND_TRAPEZOID_BOX = 4,
    KIND_QUAD_TRIANGLE = 5,
    KIND_CIRCULAR = 40,
};

// How a grid's cells are laid out: on a rectangular lattice, or in rings (rows are rings).
enum GridType : int {
    GRID_POLYGON = 1,
    GRID_RING = 2,
};
