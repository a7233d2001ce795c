// The weekly logon-hours grid: seven day rows of twenty-four hour cells, under a ruler that
// marks midnight, 6 AM, noon and 6 PM. A cell reading "X" is an hour in which logon is allowed.
#pragma once

class QString;
class QTableWidget;

// Gives the grid its rows, columns, day names, ruler and empty cells.
void SetupHoursGrid(QTableWidget &grid);

// Writes text into every selected hour cell (the day and hour headings are never cells).
void FillSelectedCells(QTableWidget &grid, const QString &text);
