org 10h
start: load R0,0
load R1,[data]
jmpEQ R1=R0,start
halt
data: db 5,'A'
