// Card codes, rank orders, card sets, places and seats.
